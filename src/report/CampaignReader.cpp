#include "CampaignReader.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>

Campaign readCampaign(const CampaignFiles &files, bool keepApplications, unsigned threads)
{
    Campaign campaign;
    campaign.notesWithoutFile = files.notesWithoutFile;
    campaign.records.resize(files.files.size());
    if (threads == 0)
        threads = std::max(1U, std::thread::hardware_concurrency());
    threads = unsigned(std::min<std::size_t>(threads, std::max<std::size_t>(1, files.files.size())));
    std::vector<ApplicationTally> tallies(threads);
    std::atomic<std::size_t> next{0};
    const auto work = [&](ApplicationTally &tally) {
        for (std::size_t i = next++; i < files.files.size(); i = next++)
            campaign.records[i] = readMachineRecord(files.files[i], tally, keepApplications);
    };
    std::vector<std::thread> workers;
    try {
        for (unsigned t = 1; t < threads; ++t)
            workers.emplace_back(work, std::ref(tallies[t]));
    } catch (const std::system_error &) {
        // Fewer threads than asked for: the ones there are, this one included, share out every file.
    }
    work(tallies[0]);
    for (std::thread &worker : workers)
        worker.join();
    for (ApplicationTally &tally : tallies)
        campaign.applications.merge(tally);
    return campaign;
}
