// What the result list shows, as `SearchType` and `LastSearchType` hold it:
// the four kinds of search result, then the two shortcut lists of help mode.
#pragma once

enum SearchType : int {
    Files = 1,
    Folders = 2,
    Both = 3,
    Custom = 4,
    SettingsListType = 5,
    ActionListType = 6,
};
