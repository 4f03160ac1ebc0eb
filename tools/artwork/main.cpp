// opticcalc_artwork <outdir>: draws every picture of the program into outdir.

#include "Artwork.h"

#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

#include <functional>

namespace {

bool Save(const QImage &image, const QDir &dir, const QString &name)
{
    const QString path = dir.filePath(name);
    // Stored straight (not premultiplied) so the PNG keeps exact colours.
    const QImage out = image.format() == QImage::Format_ARGB32_Premultiplied
                           ? image.convertToFormat(QImage::Format_ARGB32)
                           : image;
    if (!out.save(path, "PNG")) {
        QTextStream(stderr) << "cannot write " << path << "\n";
        return false;
    }
    QTextStream(stdout) << path << "  " << out.width() << " x " << out.height() << "\n";
    return true;
}

// Writes name.png and name@2x.png.
bool SaveBoth(const QDir &dir, const QString &name, const std::function<QImage(int)> &draw)
{
    return Save(draw(1), dir, name + ".png") && Save(draw(2), dir, name + "@2x.png");
}

} // namespace

int main(int argc, char *argv[])
{
    // Drawing needs fonts but no screen.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 2) {
        QTextStream(stderr) << "usage: opticcalc_artwork <outdir>\n";
        return 2;
    }
    QDir dir(args.at(1));
    if (!dir.mkpath(QStringLiteral("."))) {
        QTextStream(stderr) << "cannot create " << args.at(1) << "\n";
        return 1;
    }

    bool ok = true;
    ok &= SaveBoth(dir, QStringLiteral("beam_converging"),
                   [](int s) { return DrawBeamPicture(Beam::Converging, s); });
    ok &= SaveBoth(dir, QStringLiteral("beam_diverging"),
                   [](int s) { return DrawBeamPicture(Beam::Diverging, s); });
    ok &= Save(DrawDiagram(), dir, QStringLiteral("diagram.png"));
    ok &= SaveBoth(dir, QStringLiteral("logo"), [](int s) { return DrawLogo(QSize(200, 64), s); });
    ok &= SaveBoth(dir, QStringLiteral("logo_large"),
                   [](int s) { return DrawLogo(QSize(319, 96), s); });

    const struct
    {
        Icon icon;
        const char *name;
    } icons[] = {
        {Icon::Calc, "icon_calc"},       {Icon::Print, "icon_print"},
        {Icon::Export, "icon_export"},   {Icon::NewRow, "icon_newrow"},
        {Icon::Clear, "icon_clear"},     {Icon::ToTable, "icon_totable"},
        {Icon::Deutsch, "icon_deutsch"}, {Icon::English, "icon_english"},
        {Icon::Info, "icon_info"},
    };
    for (const auto &entry : icons) {
        const Icon icon = entry.icon;
        ok &= SaveBoth(dir, QString::fromLatin1(entry.name),
                       [icon](int s) { return DrawIcon(icon, s); });
    }
    ok &= Save(DrawAppIcon(256), dir, QStringLiteral("opticcalc.png"));
    // The icon theme's smaller sizes, each drawn at its size rather than
    // scaled down, so thin lines stay on whole pixels.
    for (const int size : {48, 64, 128})
        ok &= Save(DrawAppIcon(size), dir, QStringLiteral("opticcalc_%1.png").arg(size));
    return ok ? 0 : 1;
}
