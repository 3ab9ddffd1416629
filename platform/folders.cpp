#include "platform/folders.h"

#include <QCoreApplication>

namespace bx {

std::string programFolder() {
    return QCoreApplication::applicationDirPath().toStdString();
}

} // namespace bx
