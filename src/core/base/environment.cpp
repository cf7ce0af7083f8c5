#include "core/base/environment.h"

#include <pwd.h>
#include <unistd.h>

namespace lir {

QString systemLoginName()
{
    if (const passwd* pw = getpwuid(geteuid()); pw && pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    for (const char* name : {"USER", "LOGNAME"})
        if (const QString user = qEnvironmentVariable(name); !user.isEmpty())
            return user;
    return QStringLiteral("uid %1").arg(geteuid());
}

Environment& environment()
{
    static Environment e;
    return e;
}

} // namespace lir
