#include "exchange/sync_command.h"

#include "exchange/sync_dialogs.h"
#include "format/string_table.h"
#include "widgets/ui.h"

#include <QDialog>

#include <memory>

CSyncCommand::CSyncCommand(Host host)
    : m_host(std::move(host))
{
}

CSyncCommand::Step CSyncCommand::askRetry(const QString &text)
{
    const int answer = Ui::messageBox(m_host.owner, text, Strings::load(Strings::AppTitle),
                                      Ui::Icon::Warning, Ui::Retry | Ui::Cancel);
    return answer == Ui::Retry ? Step::Retry : Step::Stop;
}

CSyncCommand::Outcome CSyncCommand::Run()
{
    const QString caption = Strings::load(Strings::AppTitle);
    m_host.showMessageOnce(Strings::load(Strings::SyncIntroduction),
                           QStringLiteral("SyncGreeting"));

    // Retry runs every check again, from the service on; the introduction stays shown once.
    for (;;) {
        CSyncService service;
        if (service.Load() != CSyncService::Status::Ready) {
            Ui::messageBox(m_host.owner, Strings::load(Strings::SyncNoService), caption,
                           Ui::Icon::Warning, Ui::Ok);
            return Outcome::Ended;
        }

        Ui::WaitCursor wait;
        const DeviceCheck device = CheckDevice();
        if (device.status != DeviceCheck::Ready) {
            service.Unload();
            const int text = device.status == DeviceCheck::OldVersion ? Strings::SyncOldVersion
                                                                      : Strings::SyncConnectError;
            if (askRetry(Strings::load(text)) == Step::Retry)
                continue;
            return Outcome::Ended;
        }

        CSyncDirectionDialog dialog(m_host.owner, [this] {
            m_host.showMessageOnce(Strings::load(Strings::SyncFirstTime),
                                   QStringLiteral("IsFirstSync"));
        });
        if (Ui::runModal(dialog) != QDialog::Accepted)
            return Outcome::Ended; // the filter is unloaded with the service
        return copy(service, dialog.direction(), device.databasePath);
    }
}

CSyncCommand::Outcome CSyncCommand::copy(CSyncService &service, Sync::Direction direction,
                                         const QString &dbPath)
{
    service.QuitManager();
    DeviceFilter::Result result;
    {
        CSyncProgressWindow progress(m_host.owner);
        progress.showNow();
        result = service.Copy(direction, *m_host.database, dbPath);
        service.Unload();
    }

    const QString caption = Strings::load(Strings::AppTitle);
    if (result != DeviceFilter::Ok) {
        Ui::messageBox(m_host.owner, failureText(direction, result), caption, Ui::Icon::Warning,
                       Ui::Ok);
        return Outcome::CopyFailed;
    }
    if (direction == Sync::Direction::DeviceToDesktop) {
        Ui::messageBox(m_host.owner, Strings::load(Strings::SyncToDesktopDone), caption,
                       Ui::Icon::Information, Ui::Ok);
        if (m_host.reloadAfterDataReplacement)
            m_host.reloadAfterDataReplacement();
        return Outcome::CopiedToDesktop;
    }
    Ui::messageBox(m_host.owner, Strings::load(Strings::SyncToDeviceDone), caption,
                   Ui::Icon::Information, Ui::Ok);
    return Outcome::CopiedToDevice;
}

QString CSyncCommand::failureText(Sync::Direction direction, DeviceFilter::Result result)
{
    const bool toDesktop = direction == Sync::Direction::DeviceToDesktop;
    QString reason;
    switch (result) {
    case DeviceFilter::SourceDamaged:
        reason = toDesktop ? QStringLiteral("The Domelio database on the device is damaged.")
                           : QStringLiteral("The Domelio data file on the desktop is damaged.");
        break;
    case DeviceFilter::SourceForeign:
        reason = toDesktop
            ? QStringLiteral("The database on the device is not a Domelio database, or some of its "
                             "tables are missing.")
            : QStringLiteral("Some of the tables of the data file on the desktop are missing.");
        break;
    case DeviceFilter::SourceMissing:
        reason = toDesktop ? QStringLiteral("The Domelio database on the device was not found.")
                           : QStringLiteral("The Domelio data file on the desktop was not found.");
        break;
    case DeviceFilter::DeviceInUse:
        reason = QStringLiteral("Domelio is open on the device. Tap Tools->Exit on the device to "
                                "close it, then try again.");
        break;
    case DeviceFilter::PathRefused:
        reason = QStringLiteral("The device names a database path outside its own storage.");
        break;
    case DeviceFilter::TargetUnusable:
        reason = toDesktop ? QStringLiteral("The data file on the desktop could not be written.")
                           : QStringLiteral("The database on the device could not be written.");
        break;
    case DeviceFilter::BadArguments:
        reason = QStringLiteral("The synchronization service refused the request.");
        break;
    case DeviceFilter::CopyFailed:
    default:
        reason = QStringLiteral("The copy could not be completed; the disk may be full or the file "
                                "in use.");
        break;
    }
    const QString kept = toDesktop
        ? QStringLiteral("Your data on the desktop has not been changed.")
        : QStringLiteral("The data on your device has not been changed.");
    return QStringLiteral("Your data could not be synchronized.\n\n%1\n\n%2").arg(reason, kept);
}
