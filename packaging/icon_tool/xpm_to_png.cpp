// Build-time converter: the icon pixel art is kept as XPM text, the desktop wants PNG.
// Usage: kelto_xpm_to_png <input.xpm> <output.png>
#include <QImage>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <input.xpm> <output.png>\n", argv[0]);
        return 2;
    }
    const QImage picture(QString::fromLocal8Bit(argv[1]), "XPM");
    if (picture.isNull()) {
        std::fprintf(stderr, "%s: cannot read %s as XPM\n", argv[0], argv[1]);
        return 1;
    }
    if (!picture.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
