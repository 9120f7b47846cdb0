'use strict';
let shown = -1;
let chartsShown = -1;
function cell(row, text, numeric) {
  const td = document.createElement('td');
  td.textContent = text;
  if (numeric) td.className = 'n';
  row.appendChild(td);
}
function fill(table, head, rows) {
  table.replaceChildren();
  const h = table.insertRow();
  for (const [title, numeric] of head) {
    const th = document.createElement('th');
    th.textContent = title;
    if (numeric) th.className = 'n';
    h.appendChild(th);
  }
  for (const values of rows) {
    const r = table.insertRow();
    values.forEach((v, i) => cell(r, String(v), head[i][1]));
  }
}
function lines(list) {
  return list.map(l => [l.time, l.call, l.band, l.mode, l.received, l.what]);
}
const lineHead = [['Time (UTC)'], ['Call'], ['Band'], ['Mode'], ['Rcvd'], ['']];
function contactsText(s, f) {
  if (!f) return s.contacts + ' contacts';
  const duplicates = Math.max(0, s.contacts - f.total.qsos);
  return s.contacts + ' contacts: ' + f.total.qsos + ' scored, ' + duplicates +
      (duplicates === 1 ? ' duplicate' : ' duplicates');
}
function drawWho(s) {
  document.getElementById('who').textContent =
      'Station: ' + (s.station || 'not known yet') + ' \u00b7 Contest: ' +
      (s.contest || 'not known yet') + ' \u00b7 Last update: ' +
      (s.last_update ? s.last_update + ' UTC' : 'none yet');
  const applied = s.logs.filter(l => l.applied).length;
  const warnings = [];
  if (applied > 1) warnings.push('Contacts of ' + applied + ' contests or stations are scored ' +
                                 'together: see "Logs heard" (--only-contest, --only-call).');
  if (s.outside_window) warnings.push(s.outside_window + ' contact(s) dated outside the ' +
                                      "contest's window are scored: see the list below.");
  document.getElementById('warning').textContent = warnings.join(' ');
  fill(document.getElementById('logs'), [['Contest'], ['Station'], ['Contacts', 1], ['']],
       s.logs.map(l => [l.contest || '(none)', l.mycall || '(none)', l.contacts,
                        l.applied ? 'scored' : 'left out']));
  document.getElementById('outside-box').hidden = !s.outside_window;
  fill(document.getElementById('outside'), lineHead, lines(s.outside_lines));
}
function draw(s) {
  document.getElementById('score').textContent = s.score.toLocaleString('en');
  const f = s.figures;
  drawWho(s);
  document.getElementById('formula').textContent =
      (f ? f.points + ' points \u00d7 ' + f.mults + ' multipliers, ' : '') + contactsText(s, f);
  document.getElementById('rates').textContent = f && f.rates ?
      'Rate: ' + f.rates.qsos_60 + ' QSOs last 60 min, ' + f.rates.qsos_10 +
      '/h last 10 min' : '';
  document.getElementById('alarm').textContent = s.journal.ok ? '' :
      'The journal cannot be written (' + s.journal.problem + '): ' + s.journal.waiting +
      ' datagram(s) wait in memory and are NOT in the score yet. They are written and scored ' +
      'in order once the disk has room; stopping kevo-live now loses them.';
  document.getElementById('ratenote').textContent = s.rates_from_edit ?
      'The library measures these rates from the edited contact of ' + s.rates_from_edit +
      ' until the next new contact; the rate chart leaves edits out.' : '';
  fill(document.getElementById('bands'), [['Band'], ['QSOs', 1], ['Points', 1], ['Mults', 1]],
       f ? f.bands.concat([f.total]).map(b => [b.band, b.qsos, b.points, b.mults]) : []);
  const c = s.counters;
  const counts = [['datagrams received', c.received], ['added', c.added],
                  ['replaced', c.replaced], ['deleted', c.deleted],
                  ['repeats ignored', c.repeats], ['deletes of unknown IDs', c.unknown_deletes],
                  ['left out (marked not to count)', c.left_out],
                  ['other contests or stations', c.other_logs], ['rejected', c.rejected]];
  for (const reason in c.rejected_by_reason) {
    counts.push(['\u2003' + reason, c.rejected_by_reason[reason]]);
  }
  counts.push(['from the journal', c.from_journal]);
  if (c.refused_senders) counts.push(['from senders not allowed', c.refused_senders]);
  if (c.journal_waiting) counts.push(['waiting for the journal', c.journal_waiting]);
  if (c.journal_errors) counts.push(['failed journal writes', c.journal_errors]);
  fill(document.getElementById('counters'), [[''], ['', 1]], counts);
  const p = s.post;
  fill(document.getElementById('post'), [[''], ['']], p.enabled ?
       [['to', p.target], ['call', p.call || 'not known yet'],
        ['last post', p.last_time || 'not yet'], ['next post', p.next_time || '-'],
        ['answer', p.last_answer], ['accepted', p.sent], ['failed', p.failed]] :
       [['posting', 'off']]);
  fill(document.getElementById('last'), lineHead, lines(s.last_contacts));
  fill(document.getElementById('dupes'), lineHead, lines(s.duplicates));
  document.getElementById('summary').textContent = s.summary;
}
async function charts(version) {
  const answer = await fetch('/charts', {cache: 'no-store'});
  if (!answer.ok) return;
  document.getElementById('charts').innerHTML = await answer.text();
  chartsShown = version;
}
async function poll() {
  try {
    const answer = await fetch('/status.json', {cache: 'no-store'});
    const s = await answer.json();
    document.getElementById('stale').textContent = '';
    const key = s.version + '/' + s.charts_version + '/' + s.post.last_time + '/' +
        s.post.last_answer + '/' + s.post.next_time;
    if (key !== shown) {
      draw(s);
      shown = key;
    }
    if (s.charts_version !== chartsShown) await charts(s.charts_version);
  } catch (e) {
    document.getElementById('stale').textContent = '(kevo-live does not answer)';
  }
  setTimeout(poll, 500);
}
poll();
