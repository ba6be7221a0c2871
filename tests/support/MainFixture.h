#pragma once
// The main window on a throw-away installation, with fake platform layers and a
// fake lap counter port whose replies the test controls.

#include "FakePlatform.h"
#include "FakeSerialPort.h"
#include "InstallFixture.h"
#include "KirvOCX.h"
#include "ManagerPage.h"
#include "frmAddRace.h"
#include "frmEditQualHeats.h"
#include "frmMain.h"
#include "frmSingleRaceRegistration.h"
#include "frmSplash.h"

#include <QLabel>

#include <memory>

namespace kv::test {

class MainFixture {
public:
    InstallFixture fx;
    FakePlatform platform;
    FakeSerialPort* port = nullptr; // owned by the window's lap counter control
    std::unique_ptr<frmMain> w;
    int splashShown = 0;
    QString splashVersion;

    // The stored port is 1 unless the test says otherwise before start().
    MainFixture() {
        fx.setSetting(QStringLiteral("ComPort"), QStringLiteral("1"));
        auto fake = std::make_unique<FakeSerialPort>();
        port = fake.get();
        w = std::make_unique<frmMain>(nullptr, std::move(fake));
        w->state().KirvOCX->setBlockingWait([](int) {});
        w->showSplash = [this](frmSplash& splash) {
            ++splashShown;
            splash.Form_Load();
            splashVersion = splash.lblVersion->text();
        };
        // Dialogs never wait for a person in a test.
        w->showSingleRaceRegistration = [](frmSingleRaceRegistration&) {};
        w->pageManager->showAddRace = [](frmAddRace&) {};
        w->pageManager->showEditQualHeats = [](frmEditQualHeats&) {};
    }
    bool start() { return w->Form_Load(); }
    MainState& state() { return w->state(); }
    TimingState& timing() { return w->timing(); }
    QList<RecordedMessage>& messages() { return platform.boxes->messages; }
};

} // namespace kv::test
