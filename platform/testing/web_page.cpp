#include "platform/testing/testing.h"

namespace platform {

void OpenWebPage(const std::string& url) {
    testing::TheWorld().openedPages.push_back(url);
}

} // namespace platform
