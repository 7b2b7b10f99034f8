// Any supported picture file into a bitmap, the reader chosen by the file's extension.
#include "imaging/allmap.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 2 || !Allmap::TAnymap::Supported(argv[1])) {
        std::fprintf(stderr, "usage: example_images FILE.gif|.pcx|.tif|.cdr|.bmp\n");
        return 2;
    }
    Allmap::TAnymap picture;
    picture.LoadFromFile(argv[1]);
    if (!picture.LastError().isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(picture.LastError()));
        return 1;
    }
    std::printf("%d x %d pixels\n", picture.Width(), picture.Height());
    return 0;
}
