// Prints the console of the page as the program first shows it, before any
// answer, as the page's own HTML lines: the build puts it in index.html, so
// the first question is on the screen while the program still loads. It runs
// the built site's own modules on its dosmo.wasm under Node.
// Usage: node scripts/first-screen.mjs SITE   (with SITE/package.json saying
// { "type": "module" }, as scripts/build-web.sh writes it for the run)
import { readFileSync } from 'node:fs';
import { pathToFileURL } from 'node:url';

const site = process.argv[2];
const siteModule = (name) => import(pathToFileURL(`${site}/${name}`).href);
const { runProgram } = await siteModule('runner.js');
const { decode } = await siteModule('cp1252.js');
const { isRunTimeLine, screenLines } = await siteModule('transcript.js');

const program = await WebAssembly.compile(readFileSync(`${site}/dosmo.wasm`));
const result = await runProgram(program, new Uint8Array());
if (result.ending !== 'waiting') throw new Error(`the program did not wait for a first answer (${result.ending})`);

const escaped = (text) => text.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');
// One element per line, as the page draws a line of output.
const html = screenLines(decode(result.stdout), '', []).map((line) => {
  const text = line.map((segment) => segment.text).join('');
  const lang = isRunTimeLine(text) ? ' lang="en"' : '';
  return `<span class="line"${lang}>${escaped(text)}\n</span>`;
});
process.stdout.write(html.join(''));
