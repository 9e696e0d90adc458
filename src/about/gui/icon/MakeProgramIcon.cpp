// Draws the program's icon from the about box's logo: MakeProgramIcon <size> <file.png>
// The 64 x 64 logo is scaled by whole pixels (each pixel repeated for a multiple of 64), so that the
// pixel picture stays sharp; its transparent colour stays transparent.
#include "QtDIBImage.h"

#include <QGuiApplication>
#include <QImage>
#include <QString>

using namespace quillon;

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 3) return 2;
    bool ok = false;
    const int size = QString::fromLocal8Bit(argv[1]).toInt(&ok);
    if (!ok || size <= 0) return 2;
    const QImage logo = ProgramLogo().convertToFormat(QImage::Format_ARGB32);
    return logo.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation).save(QString::fromLocal8Bit(argv[2]))
               ? 0
               : 1;
}
