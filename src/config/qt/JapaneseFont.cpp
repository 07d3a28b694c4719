#include "JapaneseFont.h"

#include <QFontDatabase>
#include <QStringList>

namespace vcm {

std::optional<QFont> japaneseFont()
{
    const QStringList families = QFontDatabase::families(QFontDatabase::Japanese);
    if (families.isEmpty()) return std::nullopt;
    static const char* const preferred[] = {"MS Gothic", "Yu Gothic", "Meiryo", "Hiragino Sans",
                                            "Noto Sans CJK JP", "Noto Sans JP", "IPAGothic", "TakaoGothic",
                                            "VL Gothic"};
    for (const char* name : preferred)
        if (families.contains(QString::fromLatin1(name), Qt::CaseInsensitive)) return QFont(QString::fromLatin1(name));
    return QFont(families.front());
}

} // namespace vcm
