// Globally unique identifiers: 16 random bytes, shown in the usual 8-4-4-4-12 form.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

struct GUID {
  uint32_t Data1;
  uint16_t Data2;
  uint16_t Data3;
  uint8_t Data4[8];
};

// Fills `guid` with a new identifier from the system's random source, marked as a random
// (version 4) identifier. Returns 0, or -1 (and leaves `guid` untouched) when no random bytes
// could be had. Any thread.
[[nodiscard]] int32_t CoCreateGuid(GUID* guid);

// "01234567-89AB-CDEF-0123-456789ABCDEF": Data1, Data2 and Data3 as upper-case hexadecimal numbers,
// then the eight bytes of Data4 (two, a dash, six). 36 characters.
std::string GuidText(const GUID& guid);

}  // namespace platform
