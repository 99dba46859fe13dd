/* The device identification component's C interface: a shared library in the program folder
 * that the client loads with dlopen. The client looks up each function by name; all return 0 on
 * success.
 *
 *   DllRegisterServer          readies the component; the client calls it once after loading.
 *   DeviceIdent_GetVersion     the component's version text ("2.10.0022").
 *   DeviceIdent_GetDeviceString the device string: a text that identifies this machine without
 *                              revealing anything of it.
 *   DeviceIdent_PutResponse    the server's answer to the device string; any text is accepted.
 *
 * Texts go out NUL-terminated in the caller's buffer of `size` bytes; a text that does not fit is
 * a failure (nonzero). Any thread, one call at a time. */
#ifndef CCLIENT_DEVIDENT_DEVIDENT_H_
#define CCLIENT_DEVIDENT_DEVIDENT_H_

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef int (*DllRegisterServerFunction)(void);
typedef int (*DeviceIdentGetTextFunction)(char* out, uint32_t size);
typedef int (*DeviceIdentPutTextFunction)(const char* text);

int DllRegisterServer(void);
int DeviceIdent_GetVersion(char* out, uint32_t size);
int DeviceIdent_GetDeviceString(char* out, uint32_t size);
int DeviceIdent_PutResponse(const char* text);

#ifdef __cplusplus
}
#endif

#endif  // CCLIENT_DEVIDENT_DEVIDENT_H_
