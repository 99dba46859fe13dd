#include "tools/placeholder-art/art_families.h"
namespace art {
void WriteWindowArt(Output&) {}
void WriteSitePictures(Output&) {}
}
