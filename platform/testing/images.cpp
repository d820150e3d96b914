// The image library, counted.
#include "platform/testing/testing.h"

#include "app/events.h"

#include <algorithm>

namespace platform {

using testing::TheWorld;

void StartImageLibrary() {
    ++TheWorld().imageLibraryStarts;
    TheWorld().events.push_back("images: started");
}

} // namespace platform
