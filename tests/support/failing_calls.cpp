#include "support/failing_calls.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <dlfcn.h>
#include <sys/stat.h>

namespace {

FailingCalls *active = nullptr;

template<typename Function>
Function next(const char *name)
{
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

} // namespace

struct FailingCallsAccess
{
    static bool failFchmod()
    {
        if (!active || active->m_fchmodError == 0)
            return false;
        ++active->m_failed;
        errno = active->m_fchmodError;
        return true;
    }

    static bool failRename(const char *to)
    {
        if (!active || active->m_renameError == 0 || active->m_renameOnto != to)
            return false;
        if (active->m_reached)
            active->m_reached();
        ++active->m_failed;
        errno = active->m_renameError;
        return true;
    }
};

FailingCalls::FailingCalls()
{
    active = this;
}

FailingCalls::~FailingCalls()
{
    active = nullptr;
}

void FailingCalls::renameOntoFails(const QString &path, int error, std::function<void()> reached)
{
    m_renameOnto = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    m_renameError = error;
    m_reached = std::move(reached);
}

int fchmod(int fd, mode_t mode) noexcept
{
    static const auto real = next<int (*)(int, mode_t)>("fchmod");
    return FailingCallsAccess::failFchmod() ? -1 : real(fd, mode);
}

int rename(const char *from, const char *to) noexcept
{
    static const auto real = next<int (*)(const char *, const char *)>("rename");
    return FailingCallsAccess::failRename(to) ? -1 : real(from, to);
}
