// Writes the program's 32×32 pixel icon as a PNG of the given size, enlarged pixel by pixel
// (nearest neighbour) so that its pixel design stays crisp instead of blurring.
// Usage: zorvalit-render-icon INPUT.xpm SIZE OUTPUT.png
#include <QImage>

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: zorvalit-render-icon INPUT.xpm SIZE OUTPUT.png\n");
        return 2;
    }
    const QImage icon(QString::fromLocal8Bit(argv[1]));
    const int size = std::stoi(argv[2]);
    if (icon.isNull() || size <= 0) {
        std::fprintf(stderr, "zorvalit-render-icon: cannot read %s or bad size %s\n", argv[1], argv[2]);
        return 1;
    }
    const QImage scaled = icon.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (!scaled.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "zorvalit-render-icon: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
