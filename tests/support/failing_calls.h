#pragma once
// System calls made to fail, for the faults a test cannot cause for real: a file system that
// refuses permissions (FAT), a rename the disk refuses. A test program linked with
// failing_calls.cpp calls its fchmod and rename instead of the C library's, and so do the
// libraries it loads with dlopen (the device filter); while no FailingCalls lives, they pass
// every call on unchanged.

#include <QByteArray>
#include <QString>

#include <functional>

class FailingCalls
{
public:
    FailingCalls();
    ~FailingCalls();
    FailingCalls(const FailingCalls &) = delete;
    FailingCalls &operator=(const FailingCalls &) = delete;

    // Every fchmod fails with error (0: none does).
    void fchmodFails(int error) { m_fchmodError = error; }
    // Renames onto path fail with error; reached runs first, at the moment of the call.
    void renameOntoFails(const QString &path, int error, std::function<void()> reached = {});

    // How many calls were made to fail.
    int failed() const { return m_failed; }

private:
    friend struct FailingCallsAccess;

    int m_fchmodError = 0;
    QByteArray m_renameOnto;
    int m_renameError = 0;
    std::function<void()> m_reached;
    int m_failed = 0;
};
