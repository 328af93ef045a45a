#pragma once
#include "cli/Commands.h"
#include "site/SiteDocument.h"

namespace pictor::cli {

// Finishes or undoes every save cut short whose journal lies in one of folders or above, saying so on stderr.
void RecoverInterruptedSaves(const std::vector<std::string>& folders);

// Finishes or undoes any save of them that was cut short, saying so on stderr; then loads what the
// request names, with progress on a terminal, and reports on stderr each page that
// failed and each missing or unreadable file once. A single page that fails is an error as it always
// was (TPictorError); a site goes on without it.
void LoadPages(TSiteDocument& site, const TPagesRequest& request, TWorkPool& pool);

// The exit status of a command that got this far: 1 when a page of a site failed.
int SiteStatus(const TSiteDocument& site);

} // namespace pictor::cli
