#include "tools/placeholder-art/art_families.h"
namespace art {
void WriteOtherGameArt(Output&) {}
void WriteWindowArt(Output&) {}
void WriteSitePictures(Output&) {}
}
