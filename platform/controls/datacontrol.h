// The data control: opens a table of an Access database once, when its
// window tells it that Form_Load has returned (the builder connects it to
// Form::loadCompleted), and steps through the rows with its four arrow
// buttons. Labels bound to it show their fields of the current row.
#pragma once

#include "jet/engine.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QToolButton;

namespace controls {

class Label;

class DataControl : public QWidget
{
    Q_OBJECT
public:
    explicit DataControl(QWidget *parent = nullptr);
    ~DataControl() override;

    // Connection settings. Setting them stores them and opens nothing.
    QString DatabaseName;
    QString RecordSource;

    void setCaption(const QString &caption);
    QString caption() const;

    enum class State { Designed, Opening, Open, Failed };
    State state() const { return m_state; }

    // Starts reading the record source; the event loop goes on meanwhile.
    // On the answer the control stands on the first row, or shows the
    // engine's message and has no recordset for the rest of the run. Runs
    // once.
    void open();

    // A read started before the control opens, so that the reader runs
    // while the window is built and mapped. open() takes it over, running
    // or answered, when it asks for what the control's settings name (the
    // reader program, file, table and fields); otherwise it ends that read
    // and starts its own.
    void offerRead(std::unique_ptr<::jet::TableRead> read);

    // While the table is read, bound labels paint no caption for a short
    // grace, so that a normal start does not flash the design captions
    // before the values.
    static constexpr std::chrono::milliseconds valueGrace { 150 };
    bool holdsValues() const { return m_state == State::Opening && m_grace.isActive(); }

    // Ends a read under way, for good: the window is unloaded.
    void stopReading();

    // The navigation bar's four moves. Without a recordset they do nothing.
    void moveFirst();
    void movePrevious();
    void moveNext();
    void moveLast();

    // The current row's index, or -1 without a current record.
    int absolutePosition() const { return m_position; }
    int recordCount() const { return int(m_table.rows.size()); }
    std::optional<QString> fieldText(const QString &field) const;

    QToolButton *button(int i) const { return m_buttons[i]; } // 0 first .. 3 last

    void addBoundLabel(Label *label);

    ::jet::ReadOptions readOptions; // the engine's limits

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void follow(::jet::TableRead *read);
    void takeOutcome();
    void readFinished();
    void readFailed(const ::jet::Error &error);
    void repaintBound();
    void moveTo(int position);
    void layoutButtons();

    State m_state = State::Designed;
    QPointer<::jet::TableRead> m_read;
    std::unique_ptr<::jet::TableRead> m_offered;
    QTimer m_grace;
    ::jet::Table m_table;
    int m_position = -1;
    std::vector<QPointer<Label>> m_bound;
    QToolButton *m_buttons[4];
    QLabel *m_caption;
};

} // namespace controls
