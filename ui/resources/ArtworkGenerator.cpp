// Paints the program's pictures into a folder, named by their resource numbers; the build runs it
// and compiles the folder into the program's resources.
#include "Artwork.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <functional>

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    using namespace sonavel::art;
    const std::pair<int, std::function<QImage()>> pictures[] = {
        {300, PaintPanel},
        {340, [] { return PaintFormatStrip(false); }},
        {341, [] { return PaintFormatStrip(true); }},
        {342, PaintRateLabels},
        {343, PaintBitDepthLabels},
        {344, PaintClockGlyphs},
        {345, [] { return PaintButton(false); }},
        {346, [] { return PaintButton(true); }},
        {358, [] { return PaintLed(false); }},
        {359, [] { return PaintLed(true); }},
        {303, [] { return PaintSeekThumb(false); }},
        {302, [] { return PaintSeekThumb(true); }},
        {354, PaintNote},
        {355, PaintEmptyRowPicture},
        {110, PaintProgramIcon},
    };
    for (const auto& [id, paint] : pictures) {
        const QString path = folder.filePath(QString::number(id) + QStringLiteral(".png"));
        if (!paint().save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
