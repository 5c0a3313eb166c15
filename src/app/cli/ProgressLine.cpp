#include "ProgressLine.h"

#include "inventory/DataTypes.h"

#include <QDateTime>

#include <cstdio>

namespace {

void write(const QString &text)
{
    std::fputs(text.toUtf8().constData(), stderr);
    std::fflush(stderr);
}

const char *const kClearLine = "\r\033[K";

} // namespace

ProgressLine::ProgressLine(Mode mode, std::function<QStringList()> running)
    : m_mode(mode), m_running(std::move(running)), m_startedAt(QDateTime::currentMSecsSinceEpoch())
{
    if (m_mode == Mode::InPlace)
        m_ticker = std::thread([this] { tick(); });
}

ProgressLine::~ProgressLine()
{
    finish();
}

QString ProgressLine::text() const
{
    const qint64 seconds = (QDateTime::currentMSecsSinceEpoch() - m_startedAt) / 1000;
    QStringList waiting;
    for (const QString &dataType : m_running())
        waiting << datatypes::displayNameOf(dataType);
    QString line = QStringLiteral("%1（%2秒）").arg(m_step).arg(seconds);
    if (!waiting.isEmpty())
        line += QStringLiteral("　問い合わせ中：") + waiting.join(QStringLiteral("、"));
    return line;
}

void ProgressLine::draw(std::unique_lock<std::mutex> &)
{
    if (m_step.isEmpty() || m_finished)
        return;
    write(QLatin1String(kClearLine) + text());
    m_drawn = true;
}

void ProgressLine::tick()
{
    std::unique_lock lock(m_mutex);
    while (!m_finished) {
        m_wake.wait_for(lock, std::chrono::seconds(1));
        draw(lock);
    }
}

void ProgressLine::step(int number, int count, const QString &collector)
{
    std::unique_lock lock(m_mutex);
    if (m_mode == Mode::Off || m_finished)
        return;
    m_step = QStringLiteral("収集中 [%1/%2] %3").arg(number).arg(count).arg(collector);
    if (m_mode == Mode::Lines)
        write(QStringLiteral("収集中 [%1/%2] %3\n").arg(number).arg(count).arg(collector));
    else
        draw(lock);
}

void ProgressLine::printLine(const QString &line)
{
    std::unique_lock lock(m_mutex);
    if (m_drawn)
        write(QLatin1String(kClearLine));
    write(line + QLatin1Char('\n'));
    m_drawn = false;
    if (m_mode == Mode::InPlace)
        draw(lock);
}

void ProgressLine::finish()
{
    {
        std::unique_lock lock(m_mutex);
        if (m_drawn)
            write(QLatin1String(kClearLine));
        m_drawn = false;
        m_finished = true;
        m_wake.notify_all();
    }
    if (m_ticker.joinable())
        m_ticker.join();
}
