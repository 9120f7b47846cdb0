#include "tools/live/page/live_page.h"

#include "tools/live/page/live_page_script.h"  // generated from live_page.js

namespace kevo::live {

const char* LivePagePolicy() {
  return "default-src 'none'; script-src 'self'; connect-src 'self'; style-src 'self' "
         "'unsafe-inline'; img-src 'self' data:; base-uri 'none'; form-action 'none'; "
         "frame-ancestors 'none'";
}

const char* LivePageHtml() {
  return R"html(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<link rel="icon" href="data:,">
<title>kevo-live</title>
<style>
body { font-family: sans-serif; margin: 1em 2em; color: #222; }
h1 { font-size: 1.3em; margin: 0 0 .3em 0; }
h2 { font-size: 1.05em; margin: 1.2em 0 .3em 0; }
#score { font-size: 2.6em; font-weight: bold; }
#stale { color: #a00; }
.warn { color: #a00; font-weight: bold; }
#who { margin-bottom: .5em; }
#alarm { background: #b00; color: #fff; font-weight: bold; padding: .5em .8em; }
#alarm:empty { display: none; }
#ratenote { font-size: .85em; color: #a60; }
.row { display: flex; flex-wrap: wrap; gap: 2em; align-items: flex-start; }
table { border-collapse: collapse; font-size: .9em; }
th, td { border-bottom: 1px solid #ddd; padding: .15em .6em; text-align: left; }
td.n, th.n { text-align: right; font-variant-numeric: tabular-nums; }
pre { background: #f4f4f4; padding: .6em; font-size: .85em; }
figure { margin: 0 0 1em 0; max-width: 760px; }
figure svg { width: 100%; height: auto; }
figcaption { font-size: .9em; font-weight: bold; }
</style>
</head>
<body>
<div id="alarm" role="alert"></div>
<h1>KEVO live score <span id="stale"></span></h1>
<div id="who"></div>
<div id="warning" class="warn"></div>
<div class="row">
  <div><div id="score">&ndash;</div><div id="formula"></div><div id="rates"></div><div id="ratenote"></div></div>
  <div><h2>Bands</h2><table id="bands"></table></div>
  <div><h2>Intake</h2><table id="counters"></table></div>
  <div><h2>Scoreboard</h2><table id="post"></table></div>
</div>
<div class="row">
  <div><h2>Last contacts</h2><table id="last"></table></div>
  <div><h2>Recent duplicates</h2><table id="dupes"></table></div>
</div>
<div class="row">
  <div><h2>Logs heard</h2><table id="logs"></table></div>
  <div id="outside-box"><h2 id="outside-title">Outside the contest's window</h2>
    <table id="outside"></table></div>
</div>
<h2>Summary (as the library gave it)</h2>
<pre id="summary"></pre>
<h2>Over the contest</h2>
<div id="charts"></div>
<script src="/live.js"></script>
</body>
</html>
)html";
}

const char* LivePageScript() { return kLivePageScript; }

}  // namespace kevo::live
