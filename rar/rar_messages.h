// The extractor's messages: formatted into a fixed buffer and handed to the caller's sink, or
// dropped when there is none. Like the rest of the extractor, used by one command at a time.
#pragma once

#include <cstddef>

// Receives one message text (NUL-terminated, valid only during the call).
using RarMessageSink = void (*)(const char* text);

void RarMessage_SetSink(RarMessageSink sink);

// Formats one message; texts longer than the message buffer are cut.
void RarMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Hands a text of any length (a comment) to the sink in buffer-sized pieces, unformatted.
void RarMessage_Text(const char* text, size_t length);
