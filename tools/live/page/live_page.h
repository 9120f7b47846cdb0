// The live page: one HTML page with its style, and a small script served beside it that asks
// /status.json twice a second and redraws what changed (live_page.js, compiled in). Nothing is
// fetched from elsewhere (the Content-Security-Policy forbids it), so it works on a station
// network without internet.
#ifndef KEVO_TOOLS_LIVE_PAGE_LIVE_PAGE_H_
#define KEVO_TOOLS_LIVE_PAGE_LIVE_PAGE_H_

namespace kevo::live {

const char* LivePageHtml();
const char* LivePageScript();
// Sent with the page: only this server, the page's own style, no plug-ins, no frames.
const char* LivePagePolicy();

}  // namespace kevo::live

#endif  // KEVO_TOOLS_LIVE_PAGE_LIVE_PAGE_H_
