// Figures reach into both tools.
#include "tools/figures/chart_series.h"
#include "tools/host/utf8.h"
#include "tools/live/page/live_page.h"
#include "tools/replay/inputs/log_reader.h"
