// kevo-live reaches into kevo-replay, and names a header by a path that is not from the root.
#include "live_page.h"
#include "text/ascii.h"
#include "tools/figures/chart_series.h"
#include "tools/replay/report/html_report.h"
