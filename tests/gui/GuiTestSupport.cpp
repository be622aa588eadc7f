#include "GuiTestSupport.h"

#include <QFile>
#include <QTest>

#include "time/RegistryTimeZones.h"

namespace skelmar::testing {

void ProgramFolder::Write(const std::string& name, const std::string& bytes) const
{
    QFile file(dir_.filePath(QString::fromStdString(name)));
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(file.fileName()));
    QCOMPARE(file.write(bytes.data(), static_cast<qint64>(bytes.size())), static_cast<qint64>(bytes.size()));
}

void ProgramFolder::CopyShippedFiles() const
{
    const QDir resources(QStringLiteral(SKELMAR_RESOURCES));
    for (const char* name : {"Skelmar.ini", "SkelmarRefs.htm", "DornveilRefs.htm", "refs-flight-categories.jpg",
                             "refs-sky-cover.gif"}) {
        const QString to = dir_.filePath(QString::fromLatin1(name));
        QFile::remove(to);
        QVERIFY2(QFile::copy(resources.filePath(QString::fromLatin1(name)), to), name);
    }
}

FormUnderTest::FormUnderTest(const ProgramFolder& folder)
{
    FormServices services;
    services.programDir = folder.Path();
    services.messages = &messages;
    services.urls = &urls;
    services.timer1 = &timer;
    services.makeZoneList = [] { return std::make_unique<TVeskRegistryTimeZones>(); };
    services.http = &http;
    services.connection = &connection;
    services.clock = &clock;
    picture = folder.Path() / "Temp.gif";
    services.picturePath = [this] { return picture; };
    form = std::make_unique<TForm1>(std::move(services));
}

void FormUnderTest::Show()
{
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
}

}  // namespace skelmar::testing
