// The finished run's report: its text as written and its download with the
// exact bytes, then the memo the run wrote after it. Without a report, no
// section.
import { decode } from './cp1252.js';
import { setLink } from './downloads.js';
import { showMemorial } from './memorial.js';

const section = document.getElementById('report-section');
const title = document.getElementById('report-name');
const text = document.getElementById('report');
const link = document.getElementById('download');

// `files`: what a finished run wrote, the report first (none otherwise).
export function showReport(files) {
  const [report, ...memo] = files;
  section.hidden = report === undefined;
  showMemorial(memo);
  if (report === undefined) {
    setLink(link, null);
    return;
  }
  title.textContent = report.name;
  text.textContent = decode(report.bytes).replace(/\r\n/g, '\n');
  setLink(link, report.bytes, report.name);
  link.textContent = `Baixar ${report.name}`;
}
