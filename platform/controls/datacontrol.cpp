#include "controls/datacontrol.h"

#include "controls/label.h"
#include "controls/logging.h"
#include "forms/msgbox.h"
#include "forms/runtime.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

namespace controls {

namespace {

enum class Arrow { First, Previous, Next, Last };

// An arrow button that never takes the focus from the control that has it.
class ArrowButton : public QToolButton
{
public:
    ArrowButton(Arrow arrow, QWidget *parent)
        : QToolButton(parent)
        , m_arrow(arrow)
    {
        setFocusPolicy(Qt::NoFocus);
        setAutoRaise(false);
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QToolButton::paintEvent(event);
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(Qt::NoPen);
        p.setBrush(isEnabled() ? palette().color(QPalette::ButtonText)
                               : palette().color(QPalette::Disabled, QPalette::ButtonText));
        const int h = qMax(4, height() / 3);
        const int cy = height() / 2 + (isDown() ? 1 : 0);
        const int cx = width() / 2 + (isDown() ? 1 : 0);
        const bool left = m_arrow == Arrow::First || m_arrow == Arrow::Previous;
        const bool bar = m_arrow == Arrow::First || m_arrow == Arrow::Last;
        const int tw = h / 2 + 1; // triangle width
        const int total = tw + (bar ? 2 : 0);
        int x0 = cx - total / 2;
        QPolygon tri;
        if (left) {
            int tx = x0 + (bar ? 2 : 0);
            tri << QPoint(tx, cy) << QPoint(tx + tw, cy - h / 2) << QPoint(tx + tw, cy + h / 2);
            if (bar)
                p.drawRect(x0 - 1, cy - h / 2, 2, h + 1);
        } else {
            tri << QPoint(x0 + tw, cy) << QPoint(x0, cy - h / 2) << QPoint(x0, cy + h / 2);
            if (bar)
                p.drawRect(x0 + tw + 1, cy - h / 2, 2, h + 1);
        }
        p.drawPolygon(tri);
    }

private:
    Arrow m_arrow;
};

} // namespace

DataControl::DataControl(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(true);
    const Arrow arrows[4] = { Arrow::First, Arrow::Previous, Arrow::Next, Arrow::Last };
    for (int i = 0; i < 4; ++i)
        m_buttons[i] = new ArrowButton(arrows[i], this);
    connect(m_buttons[0], &QToolButton::clicked, this, &DataControl::moveFirst);
    connect(m_buttons[1], &QToolButton::clicked, this, &DataControl::movePrevious);
    connect(m_buttons[2], &QToolButton::clicked, this, &DataControl::moveNext);
    connect(m_buttons[3], &QToolButton::clicked, this, &DataControl::moveLast);

    m_caption = new QLabel(this);
    m_caption->setTextFormat(Qt::PlainText);
    m_caption->setFocusPolicy(Qt::NoFocus);
    m_caption->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_caption->setAutoFillBackground(true);

    m_grace.setSingleShot(true);
    connect(&m_grace, &QTimer::timeout, this, &DataControl::repaintBound);
}

DataControl::~DataControl() = default;

void DataControl::setCaption(const QString &caption)
{
    m_caption->setText(caption);
}

QString DataControl::caption() const
{
    return m_caption->text();
}

void DataControl::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutButtons();
}

void DataControl::layoutButtons()
{
    const int h = height();
    const int bw = qMax(12, h * 3 / 4);
    m_buttons[0]->setGeometry(0, 0, bw, h);
    m_buttons[1]->setGeometry(bw, 0, bw, h);
    m_buttons[2]->setGeometry(width() - 2 * bw, 0, bw, h);
    m_buttons[3]->setGeometry(width() - bw, 0, bw, h);
    m_caption->setGeometry(2 * bw, 0, qMax(0, width() - 4 * bw), h);
}

void DataControl::addBoundLabel(Label *label)
{
    m_bound.emplace_back(label);
    if (m_state == State::Open && m_position >= 0)
        label->showValue(fieldText(label->dataField()));
}

void DataControl::open()
{
    if (m_state != State::Designed)
        return;
    QStringList fields;
    for (const auto &l : m_bound)
        if (l && !l->dataField().isEmpty() && !fields.contains(l->dataField()))
            fields << l->dataField();
    std::unique_ptr<::jet::TableRead> offered = std::move(m_offered);
    if (offered && offered->asks(DatabaseName, RecordSource, fields, readOptions)) {
        qCDebug(lcControls) << objectName() << "takes over the read started early";
        offered->setParent(this);
        follow(offered.release());
        return;
    }
    if (offered)
        qCDebug(lcControls) << objectName() << "ends the read started early: it asks otherwise";
    offered.reset(); // its reader ends here
    auto *read = new ::jet::TableRead(DatabaseName, RecordSource, fields, readOptions, this);
    read->start();
    follow(read);
}

void DataControl::offerRead(std::unique_ptr<::jet::TableRead> read)
{
    if (m_state == State::Designed)
        m_offered = std::move(read);
}

// Takes over a read, running or done, as the source of the recordset.
void DataControl::follow(::jet::TableRead *read)
{
    m_state = State::Opening;
    m_read = read;
    m_grace.start(valueGrace);
    connect(read, &::jet::TableRead::finished, this, &DataControl::readFinished);
    connect(read, &::jet::TableRead::failed, this, &DataControl::readFailed);
    // An answer that came before the control opened still reaches it
    // through the event loop, after the window is shown, as a fresh one.
    if (read->isDone())
        QMetaObject::invokeMethod(this, &DataControl::takeOutcome, Qt::QueuedConnection);
}

void DataControl::takeOutcome()
{
    if (m_state != State::Opening || !m_read || !m_read->isDone())
        return;
    if (m_read->error())
        readFailed(*m_read->error());
    else
        readFinished();
}

void DataControl::readFinished()
{
    if (m_state != State::Opening || !m_read)
        return;
    m_table = m_read->takeTable();
    stopReading();
    m_state = State::Open;
    moveTo(m_table.rows.empty() ? -1 : 0);
    repaintBound();
}

void DataControl::readFailed(const ::jet::Error &error)
{
    if (m_state != State::Opening)
        return;
    const QString message = error.message();
    stopReading();
    m_state = State::Failed;
    m_table = {};
    repaintBound();
    if (!forms::hasEnded())
        forms::MsgBox(message, forms::vbExclamation);
}

void DataControl::stopReading()
{
    m_grace.stop();
    m_offered.reset();
    if (::jet::TableRead *read = m_read.data()) {
        m_read = nullptr;
        // Asked before the disconnect, after which no sender is known. The
        // read that signals (and its reader process, which may be signalling
        // it) goes once its signal is done; deleting any read ends its reader.
        const bool signalling = sender() == read;
        read->disconnect(this);
        if (signalling)
            read->deleteLater();
        else
            delete read;
    }
    if (m_state == State::Opening)
        m_state = State::Failed; // unloaded before the answer: nothing tries again
}

void DataControl::repaintBound()
{
    for (const auto &l : m_bound)
        if (l)
            l->redraw();
}

std::optional<QString> DataControl::fieldText(const QString &field) const
{
    if (m_position < 0)
        return std::nullopt;
    const auto i = m_table.fields.indexOf(field);
    if (i < 0)
        return std::nullopt;
    return m_table.rows[std::size_t(m_position)][std::size_t(i)];
}

void DataControl::moveTo(int position)
{
    m_position = position;
    if (position < 0)
        return; // no current record: the labels keep what they show
    for (const auto &l : m_bound)
        if (l)
            l->showValue(fieldText(l->dataField()));
}

void DataControl::moveFirst()
{
    if (m_state == State::Open && !m_table.rows.empty())
        moveTo(0);
}

void DataControl::movePrevious()
{
    if (m_state == State::Open && m_position > 0)
        moveTo(m_position - 1);
}

void DataControl::moveNext()
{
    if (m_state == State::Open && m_position >= 0 && m_position + 1 < recordCount())
        moveTo(m_position + 1);
}

void DataControl::moveLast()
{
    if (m_state == State::Open && !m_table.rows.empty())
        moveTo(recordCount() - 1);
}

} // namespace controls
