// The main window the way the runtime brings it up, for tests and
// benchmarks: a private settings store, a working directory without a
// database, the message boxes recorded (answered OK) and the end at once
// counted in place of leaving the process.
#pragma once

#include "controls/datacontrol.h"
#include "controls/statusbar.h"
#include "forms/msgbox.h"
#include "forms/runtime.h"
#include "forms/settings.h"
#include "viewer/form1.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

namespace testing {

inline const QString kApp = QStringLiteral("Vorlane");
inline const QString kSection = QStringLiteral("Form1_StrtUp");

class Form1Harness
{
public:
    Form1Harness()
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
        m_oldDir = QDir::currentPath();
        QDir::setCurrent(m_work.path());
        forms::setMsgBoxHook([this](const forms::MsgBoxCall &c) {
            boxes << c.prompt;
            return int(forms::vbOK);
        });
        restart();
    }
    ~Form1Harness()
    {
        form.reset();
        QDir::setCurrent(m_oldDir);
        forms::setMsgBoxHook({});
        forms::resetForTests();
    }
    Form1Harness(const Form1Harness &) = delete;
    Form1Harness &operator=(const Form1Harness &) = delete;

    // The runtime as a fresh process finds it; nothing counted yet.
    void restart()
    {
        form.reset();
        ends = 0;
        fellBack = false;
        boxes.clear();
        forms::resetForTests();
        forms::setEndHook([this] { ++ends; });
    }

    // A fresh window, constructed and loaded (Form_Load run) but its data
    // control not told to open, so no database is read; `show` false
    // leaves it hidden. Null when it did not show.
    viewer::Form1 *make(bool show = true)
    {
        restart();
        form = std::make_unique<viewer::Form1>();
        forms::load(*form);
        if (show) {
            form->show();
            if (!QTest::qWaitForWindowExposed(form.get()))
                return nullptr;
        }
        return form.get();
    }

    // A fresh window started in `dir` as the program starts it
    // (forms::launch: Form_Load, show, the data control opens), once its
    // read is over. Null when the run ended or the read did not finish.
    viewer::Form1 *launch(const QString &dir, int timeoutMs = 10000)
    {
        restart();
        if (!QDir::setCurrent(dir))
            return nullptr;
        form = std::make_unique<viewer::Form1>();
        if (!forms::launch(*form))
            return nullptr;
        const bool read = QTest::qWaitFor(
            [this] { return form->Data1->state() != controls::DataControl::State::Opening; },
            timeoutMs);
        return read ? form.get() : nullptr;
    }

    // Runs `body` in the event loop of forms::start(). Should the body leave
    // the run going, a fall-back ends the loop so a fault fails, not hangs.
    void run(viewer::Form1 &startup, std::function<void()> body)
    {
        QTimer::singleShot(0, &startup, [&startup, body = std::move(body)] {
            QVERIFY(QTest::qWaitForWindowActive(&startup));
            body();
        });
        QTimer fallBack;
        fallBack.setSingleShot(true);
        QObject::connect(&fallBack, &QTimer::timeout, [this] {
            fellBack = true;
            QCoreApplication::exit(0);
        });
        fallBack.start(10000);
        forms::start(startup);
    }

    QString workDir() const { return m_work.path(); }
    QString configPath() const { return m_config.path(); }
    QString storePath() const { return forms::settingsFilePath(kApp); }

    void store(const std::optional<QString> &x1, const std::optional<QString> &y1)
    {
        if (x1)
            forms::SaveSetting(kApp, kSection, QStringLiteral("X1"), *x1);
        if (y1)
            forms::SaveSetting(kApp, kSection, QStringLiteral("Y1"), *y1);
    }
    std::optional<QString> stored(const QString &key) const
    {
        const QString none = QStringLiteral("\x01none");
        const QString v = forms::GetSetting(kApp, kSection, key, none);
        return v == none ? std::nullopt : std::optional<QString>(v);
    }
    QByteArray storeBytes() const
    {
        QFile f(storePath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QString panel(qint16 n) const { return form->StatusBar1->Panels().Item(n).Text(); }
    // The run-time error reports among the boxes shown.
    QStringList errorReports() const { return boxes.filter(QStringLiteral("実行時エラー")); }

    std::unique_ptr<viewer::Form1> form;
    int ends = 0;
    bool fellBack = false;
    QStringList boxes;

private:
    QTemporaryDir m_config;
    QTemporaryDir m_work;
    QString m_oldDir;
};

} // namespace testing
