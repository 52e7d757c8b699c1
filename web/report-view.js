// The finished run's report: the memo's alerts above it, its text as written
// and its download with the exact bytes, then the memo the run wrote after
// it. Without a report, no section.
import { decode } from './cp1252.js';
import { setLink } from './downloads.js';
import { memoAlerts, showMemorial } from './memorial.js';

const section = document.getElementById('report-section');
const title = document.getElementById('report-name');
const text = document.getElementById('report');
const link = document.getElementById('download');
const renamed = document.getElementById('report-renamed');
const alerts = document.getElementById('alerts');

// `files`: what a finished run wrote, the report first (none otherwise);
// `typed`: the report's name as the user typed it. A name the program
// shortened or changed is said beside the report and its download.
export function showReport(files, typed = '') {
  const [report, ...memo] = files;
  section.hidden = report === undefined;
  showMemorial(memo);
  const said = memoAlerts(memo);
  alerts.querySelector('ul').replaceChildren(...said.map((text) => {
    const item = document.createElement('li');
    item.textContent = text;
    return item;
  }));
  alerts.hidden = said.length === 0;
  if (report === undefined) {
    setLink(link, null);
    return;
  }
  title.textContent = report.name;
  text.textContent = decode(report.bytes).replace(/\r\n/g, '\n');
  setLink(link, report.bytes, report.name);
  link.textContent = `Baixar ${report.name}`;
  const asTyped = typed.trim();
  renamed.hidden = asTyped === report.name;
  renamed.textContent = renamed.hidden ? '' : `O programa gravou como “${report.name}” o nome digitado “${asTyped}”.`;
}
