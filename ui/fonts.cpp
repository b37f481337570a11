#include "ui/fonts.h"

#include <QStringList>

namespace vesko {

QFont GothicFont(double pointSize, bool bold) {
  QFont font;
  font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                    QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Noto Sans JP"),
                    QStringLiteral("IPAPGothic"), QStringLiteral("sans-serif")});
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(pointSize);
  // The weight is always set so that a bold frame caption does not make the controls inside it bold.
  font.setBold(bold);
  return font;
}

}  // namespace vesko
