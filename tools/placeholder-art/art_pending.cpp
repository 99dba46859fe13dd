#include "tools/placeholder-art/art_families.h"
namespace art {
void WritePokerArt(Output&) {}
void WriteOtherGameArt(Output&) {}
void WriteWindowArt(Output&) {}
void WriteSitePictures(Output&) {}
}
