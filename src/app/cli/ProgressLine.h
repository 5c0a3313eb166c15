#pragma once

#include <QString>
#include <QStringList>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// The run's progress on stderr. On a terminal: one line, rewritten in place every second, with the
// collector whose records are being made, the data types still being asked and the time so far. Elsewhere,
// when asked for: one line per collector. Silent otherwise. Every other line on stderr goes through it, so
// that a message never lands in the middle of the progress line.
class ProgressLine
{
public:
    enum class Mode { Off, Lines, InPlace };

    ProgressLine(Mode mode, std::function<QStringList()> running);
    ~ProgressLine();
    ProgressLine(const ProgressLine &) = delete;
    ProgressLine &operator=(const ProgressLine &) = delete;

    void step(int number, int count, const QString &collector);
    // Prints a line of its own on stderr, the progress line cleared first and drawn again after it.
    void printLine(const QString &line);
    // Clears the progress line for good.
    void finish();

private:
    void tick();
    void draw(std::unique_lock<std::mutex> &lock);
    QString text() const;

    Mode m_mode;
    std::function<QStringList()> m_running;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    QString m_step;
    qint64 m_startedAt = 0;
    bool m_drawn = false;
    bool m_finished = false;
    std::thread m_ticker;
};
