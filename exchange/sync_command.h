#pragma once
// File > Sync. with Device: copies every table between the desktop data file and the handheld's
// database, in the direction the user picks, with the messages and windows around it.

#include "exchange/sync_session.h"

#include <QString>

#include <functional>

class CADODataBase;
class QWidget;

class CSyncCommand
{
public:
    // What the command needs of the program around it.
    struct Host
    {
        QWidget *owner = nullptr;
        CADODataBase *database = nullptr;
        // Shows a text once per user under the flag name.
        std::function<void(const QString &text, const QString &flagName)> showMessageOnce;
        // The data file was replaced: the program shows it afresh, with no current home.
        std::function<void()> reloadAfterDataReplacement;
    };

    enum class Outcome {
        Ended, // stopped before the copy: no service, Cancel, or the user gave up
        CopiedToDevice, // the device now holds the desktop's data
        CopiedToDesktop, // the desktop now holds the device's data (and was reloaded)
        CopyFailed, // the copy was refused or failed; both sides are as they were
    };

    explicit CSyncCommand(Host host);

    Outcome Run();

    // The message for a copy that did not succeed, naming what to do about it.
    static QString failureText(Sync::Direction direction, DeviceFilter::Result result);

private:
    enum class Step { Retry, Stop, Continue };
    Step askRetry(const QString &text);
    Outcome copy(CSyncService &service, Sync::Direction direction, const QString &dbPath);

    Host m_host;
};
