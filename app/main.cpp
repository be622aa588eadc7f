// Skelmar: builds the window's services and runs the event loop until the window closes.

#include <QApplication>
#include <QScreen>
#include <QSettings>

#include <memory>

#include "app/ExitAfterFirstPaint.h"
#include "app/Form1.h"
#include "app/Services.h"
#include "app/WindowMemory.h"
#include "retrieval/ConnectionCheck.h"
#include "retrieval/HttpClient.h"
#include "retrieval/PictureFile.h"
#include "retrieval/ProgramFiles.h"
#include "retrieval/RetrievalSequence.h"
#include "time/Clock.h"
#include "time/RegionalSettings.h"
#include "time/RegistryTimeZones.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Skelmar"));

    skelmar::QtMessagePresenter messages(nullptr);
    skelmar::QtReportDialogs dialogs(nullptr);
    skelmar::DesktopUrlOpener urls;
    skelmar::QtIntervalTimer timer1;
    skelmar::CurlHttpClient http;
    skelmar::InterfaceConnectionCheck connection;
    skelmar::SystemClock clock;

    skelmar::FormServices services;
    services.dataDir = skelmar::ShippedDataDirectory(QCoreApplication::applicationDirPath().toStdString());
    services.messages = &messages;
    services.dialogs = &dialogs;
    services.urls = &urls;
    services.timer1 = &timer1;
    services.makeZoneList = [] { return std::make_unique<skelmar::TVeskRegistryTimeZones>(); };
    services.formatSettings = skelmar::SystemFormatSettings();
    services.http = &http;
    services.connection = &connection;
    services.clock = &clock;
    services.picturePath = [] { return skelmar::PictureFilePath(); };
    const std::unique_ptr<QSettings> settings = skelmar::UserSettings();
    services.settings = settings.get();

    skelmar::TForm1 form(std::move(services));
    messages.SetParent(&form);
    dialogs.SetParent(&form);
    if (const QScreen* screen = form.screen())
        form.move(screen->availableGeometry().center() - form.frameGeometry().center() + form.pos());
    skelmar::ExitAfterFirstPaint::InstallIfRequested(form);
    form.show();
    if (form.TerminateRequested())
        return 1;
    return app.exec();
}
