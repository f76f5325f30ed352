// A main window as the runtime brings it up: constructed, Form_Load run,
// shown with the focus on its Cancel button. The data control is not told
// to open, so no database is read. Settings go to a private folder, and
// the runtime's message box and end are caught.
#pragma once

#include "controls/statusbar.h"
#include "forms/msgbox.h"
#include "forms/runtime.h"
#include "viewer/form1.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

class Form1Fixture
{
public:
    // Once per test program, before any window is made.
    void setUp()
    {
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
        forms::setMsgBoxHook([this](const forms::MsgBoxCall &call) {
            messages << call.prompt;
            return int(forms::vbOK);
        });
    }

    // A fresh window; `show` false leaves it loaded but hidden.
    viewer::Form1 *make(bool show = true)
    {
        ends = 0;
        forms::resetForTests();
        forms::setEndHook([this] { ++ends; });
        form = std::make_unique<viewer::Form1>();
        forms::load(*form);
        if (show) {
            form->show();
            if (!QTest::qWaitForWindowExposed(form.get()))
                return nullptr;
        }
        return form.get();
    }

    void tearDown() { form.reset(); }

    QString panel(qint16 n) const { return form->StatusBar1->Panels().Item(n).Text(); }
    QString configPath() const { return m_config.path(); }

    std::unique_ptr<viewer::Form1> form;
    QStringList messages;
    int ends = 0;

private:
    QTemporaryDir m_config;
};
