#include "ui/qt/fonts.h"

#include "ui/kit/layout.h"

#include <QFontDatabase>
#include <QStringList>

namespace tallyra::ui::qt {
namespace {

// Chinese sans-serif faces in the order we prefer them, the usual ones of Linux desktops first.
constexpr const char* kPreferredFaces[] = {
    "Noto Sans CJK SC", "Source Han Sans SC", "WenQuanYi Micro Hei", "WenQuanYi Zen Hei",
    "Noto Sans SC",     "Source Han Sans CN", "Droid Sans Fallback",
};

bool looksSansSerif(const QString& family) {
    return family.contains(QStringLiteral("Sans"), Qt::CaseInsensitive) ||
           family.contains(QStringLiteral("Hei"), Qt::CaseInsensitive) || family.contains(QStringLiteral("黑"));
}

QString findChineseFace() {
    const QString yaHei = QString::fromUtf8(kYaHei.data(), static_cast<qsizetype>(kYaHei.size()));
    if (isFamilyInstalled(yaHei)) return yaHei;
    const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    for (const char* face : kPreferredFaces)
        if (chinese.contains(QLatin1String(face))) return QLatin1String(face);
    for (const QString& family : chinese)
        if (looksSansSerif(family)) return family;
    return chinese.isEmpty() ? QString() : chinese.first();
}

} // namespace

const QString& chineseFace() {
    static const QString face = findChineseFace();
    return face;
}

bool isFamilyInstalled(const QString& family) {
    return !family.isEmpty() && QFontDatabase::families().contains(family);
}

QString resolvedFace(std::string_view face) {
    const QString wanted = QString::fromUtf8(face.data(), static_cast<qsizetype>(face.size()));
    if (isFamilyInstalled(wanted)) return wanted;
    return chineseFace();
}

} // namespace tallyra::ui::qt
