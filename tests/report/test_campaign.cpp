#include "report/CampaignReport.h"

#include <QTest>

// How a campaign's files are judged, on records made here: which file stands for a number, which files
// belong together, what is stale, what the list lacks.
class TestCampaign : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void oneMacUnderThousandsOfNumbers();
    void newestFileStandsForItsNumber();
    void staleListedAndEmptyValues();
};

namespace {

MachineRecord machine(const QString &number, const QString &mac, const QString &serial,
                      const QDateTime &created = QDateTime(QDate(2026, 12, 1), QTime(9, 0)))
{
    MachineRecord record;
    record.path = "/campaign/" + number + ".csv";
    record.managementNumber = number;
    record.created = created;
    if (!mac.isNull())
        record.macAddresses << mac;
    record.serialNumber = serial;
    return record;
}

ReportSettings settingsOn(const QDate &today)
{
    ReportSettings settings;
    settings.today = today;
    return settings;
}

} // namespace

void TestCampaign::oneMacUnderThousandsOfNumbers()
{
    Campaign campaign;
    const int count = 3000;
    for (int i = 0; i < count; ++i)
        campaign.records.push_back(machine(QString("abc-12-x%1").arg(i, 4, 10, QChar('0')),
                                           i % 2 ? "3c-07-54-74-1e-2b" : "3C-07-54-74-1E-2B",
                                           "C02DX1YZPN70"));
    campaign.records.push_back(machine("zzz-99-z999", "00-11-22-33-44-55", "OTHER"));
    const CampaignReport report = analyseCampaign(campaign, settingsOn(QDate(2026, 12, 7)));
    QCOMPARE(report.rows.size(), std::size_t(count + 1));
    QCOMPARE(report.duplicates, count);
    QCOMPARE(report.problems.size(), std::size_t(2 * count));
    for (std::size_t i = 0; i < std::size_t(count); ++i)
        QCOMPARE(report.rows[i].duplicateText(), QStringLiteral("MACアドレス、シリアル番号"));
    QVERIFY(!report.rows.back().duplicate());
    QCOMPARE(report.problems.front().kind, ProblemKind::SameMacAddress);
    QCOMPARE(report.problems.front().shared, QStringLiteral("3C-07-54-74-1E-2B"));
    QCOMPARE(report.problems.front().detail,
             QStringLiteral("MACアドレス 3C-07-54-74-1E-2B "
                            "が3000件の管理番号にあります（同じMacを別の番号で収集したかもしれません）"));
    QCOMPARE(report.problems.back().kind, ProblemKind::SameSerialNumber);
}

void TestCampaign::newestFileStandsForItsNumber()
{
    Campaign campaign;
    campaign.records.push_back(
        machine("abc-12-x123", "AA", "S1", QDateTime(QDate(2026, 11, 30), QTime(9, 0))));
    campaign.records.push_back(
        machine("abc-12-x123", "AA", "S1", QDateTime(QDate(2026, 12, 2), QTime(9, 0))));
    campaign.records.back().path = "/share/abc-12-x123.csv";
    const CampaignReport report = analyseCampaign(campaign, settingsOn(QDate(2026, 12, 7)));
    QCOMPARE(report.rows.size(), std::size_t(1));
    QCOMPARE(report.rows[0].record->path, QStringLiteral("/share/abc-12-x123.csv"));
    QCOMPARE(report.rows[0].filesOfNumber, 2);
    // Its own two files do not make it share a MAC address or serial number with another number.
    QCOMPARE(report.rows[0].duplicateText(), QStringLiteral("管理番号"));
    QCOMPARE(report.problems.size(), std::size_t(2));
    for (const Problem &problem : report.problems) {
        QCOMPARE(problem.kind, ProblemKind::SameNumber);
        QCOMPARE(problem.detail,
                 QStringLiteral(
                     "この管理番号のファイルが2件あります（一覧には2026/12/02 09:00:00に作成されたもの）"));
    }
}

void TestCampaign::staleListedAndEmptyValues()
{
    Campaign campaign;
    const QDate today(2026, 12, 7);
    campaign.records.push_back(machine("abc-12-x001", "", "", QDateTime(today.addDays(-365), QTime(9, 0))));
    campaign.records.push_back(machine("abc-12-x002", "", "", QDateTime(today.addDays(-366), QTime(9, 0))));
    campaign.records.push_back(machine("abc-12-x003", QString(), " "));
    MachineRecord unreadable;
    unreadable.path = "/campaign/bad.csv";
    unreadable.problem = QStringLiteral("空のファイルです");
    campaign.records.push_back(unreadable);
    ReportSettings settings = settingsOn(today);
    settings.expected = QStringList{"abc-12-x001", "abc-12-x009", "abc-12-x009", "abc-12-x002"};
    const CampaignReport report = analyseCampaign(campaign, settings);
    QCOMPARE(report.rows.size(), std::size_t(3));
    QVERIFY(!report.rows[0].stale); // a year old to the day is not yet stale
    QVERIFY(report.rows[1].stale);
    QCOMPARE(report.stale, 1);
    QCOMPARE(report.duplicates, 0); // empty MAC addresses and serial numbers tie nothing together
    QCOMPARE(report.notCollected, QStringList{"abc-12-x009"});
    QVERIFY(!report.rows[0].notInList);
    QVERIFY(report.rows[2].notInList);
    QCOMPARE(report.files, 4);
    QCOMPARE(report.unreadable, 1);
    QCOMPARE(report.problems.size(), std::size_t(2));
    QCOMPARE(report.problems[0].kind, ProblemKind::Unreadable);
    QCOMPARE(report.problems[1].kind, ProblemKind::Stale);
    QCOMPARE(report.problems[1].detail, QStringLiteral("2025/12/06に作成されたファイルです（366日前）"));
}

QTEST_GUILESS_MAIN(TestCampaign)
#include "test_campaign.moc"
