// A default printer that keeps every page it is given, and can be missing,
// fail a job, or be interrupted by the user between pages.
#include "backends/testing/testing.h"

namespace platform {

using testing::TheWorld;

PrintOutcome PrintOnDefaultPrinter(const std::string& documentName, const std::string& face,
                                   int points, const PageLayout& layout) {
    testing::World& world = TheWorld();
    if (!world.printerPresent) return PrintOutcome::NoPrinter;
    PrintedPages pages = layout(world.printLineHeight(face, points), world.printPageHeight);
    if (world.printJobs.Fails()) return PrintOutcome::JobFailed;
    testing::World::PrintJob job{documentName, face, points, {}};
    // Keys pressed meanwhile are taken between pages; all but Esc are dropped.
    auto interrupted = [&] {
        bool cancel = false;
        auto& during = world.duringPrint;
        for (auto at = during.begin(); at != during.end();) {
            if (at->afterPages > int(job.pages.size())) {
                ++at;
                continue;
            }
            if (at->key == testing::CloseRequest) world.closePosted = true;
            cancel = cancel || at->key == 0x1B || at->key == testing::CloseRequest;
            at = during.erase(at);
        }
        return cancel;
    };
    for (const auto& page : pages) {
        if (interrupted()) break;
        job.pages.push_back(page);
    }
    job.cancelled = job.pages.size() < pages.size();
    // Too late to cancel: the job is sent whole, the keys are still dropped.
    if (!job.cancelled) interrupted();
    world.printJobsDone.push_back(job);
    world.events.push_back("print: " + std::to_string(job.pages.size()) + " pages" +
                           (job.cancelled ? ", cancelled" : ""));
    return job.cancelled ? PrintOutcome::Cancelled : PrintOutcome::Printed;
}

} // namespace platform
