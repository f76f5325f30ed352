#include "forms/msgbox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBoundaryFinder>

namespace forms {

namespace {
std::function<int(const MsgBoxCall &)> &hook()
{
    static std::function<int(const MsgBoxCall &)> h;
    return h;
}
// A stretch of text with no line-break opportunity longer than this (a long
// path, a run of digits and slashes) may break anywhere; the box would
// otherwise clip it at its widest.
constexpr qsizetype longestUnbroken = 24;

// The prompt with a zero-width space after each character of every long
// unbreakable stretch; shorter text keeps its own breaks.
QString breakableAnywhere(const QString &text)
{
    QTextBoundaryFinder lines(QTextBoundaryFinder::Line, text);
    QString out;
    out.reserve(text.size());
    qsizetype from = 0;
    auto take = [&](qsizetype to) {
        const QString stretch = text.mid(from, to - from);
        if (stretch.size() <= longestUnbroken) {
            out += stretch;
        } else {
            QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, stretch);
            qsizetype at = 0;
            for (qsizetype next = graphemes.toNextBoundary(); next > 0;
                 next = graphemes.toNextBoundary()) {
                out += stretch.mid(at, next - at);
                if (next < stretch.size())
                    out += QChar(0x200B);
                at = next;
            }
        }
        from = to;
    };
    for (qsizetype to = lines.toNextBoundary(); to > 0; to = lines.toNextBoundary())
        take(to);
    if (from < text.size())
        take(text.size());
    return out;
}

} // namespace

void setMsgBoxHook(std::function<int(const MsgBoxCall &)> h)
{
    hook() = std::move(h);
}

int MsgBox(const QString &prompt, int style, const QString &title)
{
    const QString caption = title.isEmpty() ? QGuiApplication::applicationDisplayName() : title;
    if (hook())
        return hook()({ prompt, style, caption });

    // Over the program's window, even before it has been activated.
    QWidget *owner = QApplication::activeWindow();
    if (!owner)
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->isWindow() && !qobject_cast<QMessageBox *>(w)) {
                owner = w;
                break;
            }
    QMessageBox box(owner);
    box.setWindowTitle(caption);
    box.setTextFormat(Qt::PlainText);
    box.setText(breakableAnywhere(prompt));
    switch (style & 0x70) {
    case vbCritical:
        box.setIcon(QMessageBox::Critical);
        break;
    case vbQuestion:
        box.setIcon(QMessageBox::Question);
        break;
    case vbExclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case vbInformation:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    struct Button
    {
        QString text;
        QMessageBox::ButtonRole role;
        int result;
    };
    std::vector<Button> buttons;
    switch (style & 0x7) {
    case vbOKCancel:
        buttons = { { QStringLiteral("OK"), QMessageBox::AcceptRole, vbOK },
            { QStringLiteral("キャンセル"), QMessageBox::RejectRole, vbCancel } };
        break;
    case vbYesNo:
        buttons = { { QStringLiteral("はい(&Y)"), QMessageBox::YesRole, vbYes },
            { QStringLiteral("いいえ(&N)"), QMessageBox::NoRole, vbNo } };
        break;
    default:
        buttons = { { QStringLiteral("OK"), QMessageBox::AcceptRole, vbOK } };
        break;
    }
    std::vector<QAbstractButton *> made;
    for (const auto &b : buttons)
        made.push_back(box.addButton(b.text, b.role));
    box.setDefaultButton(qobject_cast<QPushButton *>(made.front()));
    box.setEscapeButton(made.back());
    box.exec();
    for (std::size_t i = 0; i < made.size(); ++i)
        if (box.clickedButton() == made[i])
            return buttons[i].result;
    return buttons.back().result;
}

} // namespace forms
