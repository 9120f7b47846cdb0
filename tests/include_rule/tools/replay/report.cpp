// kevo-replay reaches into kevo-live and into the library's insides.
#include "StatsKEVO.h"
#include "scoring/score_summary.h"
#include "tools/figures/chart_series.h"
#include "tools/host/utf8.h"

#ifdef _WIN32
#include "tools/live/page/status_json.h"
#endif
