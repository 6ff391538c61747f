#include "folderbrowser/modSHFolder.h"

#include "folderbrowser/cSHFolder.h"

namespace modSHFolder {

namespace {

// The browser whose dialog is open; empty otherwise.
std::shared_ptr<cSHFolder> ActiveBrowser;

} // namespace

void SetActiveBrowser(std::shared_ptr<cSHFolder> browser) {
    ActiveBrowser = std::move(browser);
}

void ClearActiveBrowser() {
    ActiveBrowser.reset();
}

int BrowseCallback(HWND hwnd, UINT uMsg, LPARAM lParam, LPARAM lpData) {
    // A copy, so that the object outlives a handler that ends its run.
    const std::shared_ptr<cSHFolder> browser = ActiveBrowser;
    return browser ? browser->HandleBrowseMessage(hwnd, uMsg, lParam, lpData) : 0;
}

} // namespace modSHFolder
