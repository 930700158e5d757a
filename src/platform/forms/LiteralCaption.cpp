#include "platform/forms/LiteralCaption.h"

namespace tolvenk::forms {

QString literalCaption(const std::string& caption) {
    QString text = QString::fromStdString(caption);
    text.replace(QLatin1Char('&'), QLatin1String("&&"));
    return text;
}

}  // namespace tolvenk::forms
