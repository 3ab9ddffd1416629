#include "programstarter.h"

#include <QProcess>
#include <QStringList>

namespace bx {

bool DetachedProgramStarter::start(const std::string& program, const std::vector<std::string>& arguments) {
    QStringList list;
    for (const std::string& a : arguments)
        list << QString::fromStdString(a);
    return QProcess::startDetached(QString::fromStdString(program), list);
}

} // namespace bx
