// Collects what the program logs while it is in scope, by category, and
// hands every message on to the handler before it (QtTest's own).
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

struct LoggedMessage
{
    QtMsgType type;
    QString category;
    QString text;
};

class LogCapture
{
public:
    LogCapture()
    {
        s_active = this;
        s_previous = qInstallMessageHandler(&LogCapture::handle);
    }
    ~LogCapture()
    {
        qInstallMessageHandler(s_previous);
        s_active = nullptr;
    }
    LogCapture(const LogCapture &) = delete;
    LogCapture &operator=(const LogCapture &) = delete;

    // The warnings logged in `category`.
    QStringList warnings(const QString &category) const { return messages(category, QtWarningMsg); }
    // The messages of `type` logged in `category`.
    QStringList messages(const QString &category, QtMsgType type) const
    {
        QStringList out;
        for (const auto &m : m_messages)
            if (m.type == type && m.category == category)
                out << m.text;
        return out;
    }

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &text)
    {
        if (s_active)
            s_active->m_messages.append({ type, QString::fromUtf8(context.category), text });
        if (s_previous)
            s_previous(type, context, text);
    }

    inline static LogCapture *s_active = nullptr;
    inline static QtMessageHandler s_previous = nullptr;
    QList<LoggedMessage> m_messages;
};
