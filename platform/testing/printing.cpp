// A default printer that keeps every page it is given, and can be missing or
// fail a job.
#include "platform/testing/testing.h"

namespace platform {

using testing::TheWorld;

PrintOutcome PrintOnDefaultPrinter(const std::string& documentName, const std::string& face,
                                   int points, const PageLayout& layout) {
    testing::World& world = TheWorld();
    if (!world.printerPresent) return PrintOutcome::NoPrinter;
    PrintedPages pages = layout(world.printLineHeight(face, points), world.printPageHeight);
    if (world.printJobs.Fails()) return PrintOutcome::JobFailed;
    world.printJobsDone.push_back({documentName, face, points, pages});
    world.events.push_back("print: " + std::to_string(pages.size()) + " pages");
    return PrintOutcome::Printed;
}

} // namespace platform
