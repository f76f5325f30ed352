// Runs the main window the way the program does (forms::start), with the
// end at once and the message box caught, a private settings store and a
// working directory without a database.
#pragma once

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
#include <optional>

namespace testing {

inline const QString kApp = QStringLiteral("Vorlane");
inline const QString kSection = QStringLiteral("Form1_StrtUp");

class Form1Run
{
public:
    Form1Run()
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
        m_oldDir = QDir::currentPath();
        QDir::setCurrent(m_work.path());
        forms::resetForTests();
        forms::setEndHook([this] { ++ends; });
        forms::setMsgBoxHook([this](const forms::MsgBoxCall &c) {
            boxes << c.prompt;
            return int(forms::vbOK);
        });
    }
    ~Form1Run()
    {
        QDir::setCurrent(m_oldDir);
        forms::setMsgBoxHook({});
    }

    QString workDir() const { return m_work.path(); }
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

    // Runs `body` in the event loop of forms::start(). Should the body leave
    // the run going, a fall-back ends the loop so a fault fails, not hangs.
    void run(viewer::Form1 &form, std::function<void()> body)
    {
        QTimer::singleShot(0, &form, [&form, body = std::move(body)] {
            QVERIFY(QTest::qWaitForWindowActive(&form));
            body();
        });
        QTimer fallBack;
        fallBack.setSingleShot(true);
        QObject::connect(&fallBack, &QTimer::timeout, [this] {
            fellBack = true;
            QCoreApplication::exit(0);
        });
        fallBack.start(10000);
        forms::start(form);
    }

    // The run-time error reports among the boxes shown.
    QStringList errorReports() const { return boxes.filter(QStringLiteral("実行時エラー")); }

    int ends = 0;
    bool fellBack = false;
    QStringList boxes;

private:
    QTemporaryDir m_config;
    QTemporaryDir m_work;
    QString m_oldDir;
};

} // namespace testing
