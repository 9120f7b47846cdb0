// The host kit reaches up into a room that stands on it.
#include "StatsKEVO.h"
#include "kevo_exported_entries.h"
#include "text/ascii.h"
#include "tools/figures/chart_series.h"
#include "tools/host/utf8.h"
