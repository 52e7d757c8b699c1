// The page: keeps the answers given so far (in the browser's storage and in
// the address), runs the program again with all of them as its answer file
// after every change, and shows the screen, the error report with a word on
// it, or the finished report and memo. It computes nothing itself.
import { designText, keepDesign, linesOfDesign, storedDesign } from './address.js';
import { answerAgain, changeAnswer, laterAnswers, nextPlace, placeLines, withoutLastAnswer } from './answers.js';
import { decode, encode } from './cp1252.js';
import { setLink } from './downloads.js';
import { chooseDecimalPoint, confirmRestart, hasDecimalComma, prepareDialogs, withPoint } from './dialogs.js';
import { explanationOf } from './explanations.js';
import { showMemorial } from './memorial.js';
import { keepOffline } from './offline.js';
import { loadProgram, runProgram } from './runner.js';
import { isRunTimeLine, screenLines } from './transcript.js';

const kProgramUrl = 'dosmo.wasm';
const kLineFeed = 0x0a;
const kCarriageReturn = 0x0d;
const kComma = 0x2c;
const kPoint = 0x2e;
const kLargestAnswerFile = 64 * 1024;
// How a run is shown: with the next question, the report or the error in
// view and focused, or leaving the focus where the user is (an edited answer).
const kBringIntoView = 'view';
const kStayPut = 'stay';

const page = Object.fromEntries([
  'console', 'answer-form', 'answer', 'send', 'explanation', 'status', 'back', 'share', 'restart',
  'open', 'answer-file', 'save', 'report-section', 'report-name', 'report', 'download', 'print',
  'wrap', 'answers-section', 'answer-list', 'drop-hint', 'update', 'reload',
].map((id) => [id, document.getElementById(id)]));

let program = null;
let steps = [];        // {text, bytes, at, below, question}: each answer line and its place
let current = null;    // the last run's result
let later = new Map(); // answers a change took out, kept for their questions
let shownLines = [];   // keys of the console lines on the screen
let queue = Promise.resolve();
let pending = 0;

// One change at a time, in the order the user made them; the console is
// marked busy until the last one is shown.
function serially(task) {
  pending++;
  page.console.setAttribute('aria-busy', 'true');
  queue = queue.then(task).catch((error) => {
    const what = program === null ? 'carregar' : 'executar';
    page.status.textContent = `Falha ao ${what} o programa: ${error.message ?? error}`;
  }).finally(() => {
    if (--pending === 0) page.console.setAttribute('aria-busy', 'false');
  });
  return queue;
}

function answerFileBytes(lines) {
  const total = lines.reduce((sum, step) => sum + step.bytes.length + 1, 0);
  const bytes = new Uint8Array(total);
  let at = 0;
  for (const step of lines) {
    bytes.set(step.bytes, at);
    at += step.bytes.length;
    bytes[at++] = kLineFeed;
  }
  return bytes;
}

async function run(lines) {
  return runProgram(program, answerFileBytes(lines));
}

function typedLine(text) {
  return { text, bytes: encode(text) };
}

// A line of a file or of the address, as bytes without its LF; a CR before
// the LF stays with the line, as the program reads it.
function storedLine(bytes) {
  const shown = bytes[bytes.length - 1] === kCarriageReturn ? bytes.subarray(0, -1) : bytes;
  return { text: decode(shown), bytes };
}

// ---- showing a run

function lineKey(line) {
  return JSON.stringify(line);
}

// The run-time's English lines (its error report, its prompts) say so.
function lineElement(line) {
  const element = document.createElement('span');
  element.className = 'line';
  const output = line.filter((segment) => segment.kind === 'output').map((segment) => segment.text).join('');
  if (isRunTimeLine(output)) element.lang = 'en';
  for (const segment of line) {
    if (segment.kind === 'output') {
      element.append(segment.text);
    } else {
      const mark = document.createElement('span');
      mark.className = segment.kind;
      if (segment.kind === 'error') mark.lang = 'en';
      mark.textContent = segment.text;
      element.append(mark);
    }
  }
  element.append('\n');
  return element;
}

// Only the lines that changed are replaced, so the live region announces
// what is new (the next question), not the whole screen again.
function showConsole(lines) {
  const keys = lines.map(lineKey);
  let same = 0;
  while (same < keys.length && same < shownLines.length && keys[same] === shownLines[same]) same++;
  while (page.console.childNodes.length > same) page.console.lastChild.remove();
  for (let index = same; index < lines.length; index++) page.console.append(lineElement(lines[index]));
  shownLines = keys;
}

// The report is the first file the run made; the memo files follow it.
function reportFile() {
  return current.files[0];
}

function stemOf(name) {
  const dot = name.lastIndexOf('.');
  return dot > 0 ? name.slice(0, dot) : name;
}

function answersName() {
  const report = reportFile();
  return report ? `${stemOf(report.name)}-respostas.txt` : 'respostas.txt';
}

function showReport() {
  const finished = current.ending === 'finished';
  const report = finished ? reportFile() : undefined;
  page['report-section'].hidden = report === undefined;
  showMemorial(finished ? current.files.slice(1) : []);
  if (report === undefined) {
    setLink(page.download, null);
    return;
  }
  page['report-name'].textContent = report.name;
  page.report.textContent = decode(report.bytes).replace(/\r\n/g, '\n');
  setLink(page.download, report.bytes, report.name);
  page.download.textContent = `Baixar ${report.name}`;
}

// One field per answer the program read, labelled with its question; the
// fields are kept across runs so the one being edited keeps its focus.
function showAnswers() {
  const list = page['answer-list'];
  const read = [];
  steps.forEach((step, index) => {
    if (step.at !== null) read.push({ step, index });
  });
  while (list.children.length > read.length) list.lastChild.remove();
  read.forEach(({ step, index }, position) => {
    let item = list.children[position];
    if (item === undefined) {
      item = document.createElement('li');
      const label = document.createElement('label');
      const field = document.createElement('input');
      label.htmlFor = field.id = `resposta-${position + 1}`;
      Object.assign(field, { type: 'text', autocomplete: 'off', spellcheck: false, enterKeyHint: 'send' });
      field.setAttribute('autocapitalize', 'off');
      item.append(label, field);
      list.append(item);
    }
    const [label, field] = item.children;
    label.textContent = step.question || 'Resposta sem pergunta na tela';
    field.dataset.index = String(index);
    if (field.dataset.text !== step.text || document.activeElement !== field) {
      field.value = step.text;
      field.dataset.text = step.text;
    }
  });
  page['answers-section'].hidden = read.length === 0;
}

const kStatusText = {
  waiting: 'Aguardando a resposta.',
  finished: 'Cálculo concluído: o relatório está logo abaixo.',
  failed: 'O programa parou com um erro.',
};

function statusText() {
  if (current.ending === 'crashed') return `O programa parou de forma inesperada (${current.trap}).`;
  if (current.ending === 'finished' && current.files.length === 0) return 'Cálculo concluído, sem relatório.';
  return kStatusText[current.ending];
}

// The next question with its field, the finished report with its download,
// or the error with its word and Voltar: in view, and focused.
function bringIntoView() {
  if (current.ending === 'waiting') {
    page.answer.focus({ preventScroll: true });
    page.back.parentElement.scrollIntoView({ block: 'end' });
  } else if (!page['report-section'].hidden) {
    page['report-section'].scrollIntoView({ block: 'start' });
    page.download.focus({ preventScroll: true });
  } else {
    page.back.parentElement.scrollIntoView({ block: 'end' });
    page.back.focus({ preventScroll: true });
  }
}

// Shows the last run; the count of runs shown lets automation wait for the
// screen of its last action.
function show(focus) {
  const outputText = decode(current.stdout);
  const errorText = current.ending === 'waiting' ? '' : decode(current.stderr);
  showConsole(screenLines(outputText, errorText, steps));
  const waiting = current.ending === 'waiting';
  page['answer-form'].hidden = !waiting;
  page.console.classList.toggle('asking', waiting);
  page.answer.disabled = !waiting;
  page.send.disabled = !waiting;
  for (const control of [page.back, page.restart, page.share]) control.disabled = steps.length === 0;
  page.open.disabled = false;
  const remade = focus === kStayPut && current.files.length > 0;
  page.status.textContent = remade ? 'Relatório refeito com a resposta mudada.' : statusText();
  const failed = current.ending === 'failed';
  page.explanation.hidden = !failed;
  page.explanation.textContent = failed ? explanationOf(errorText) : '';
  page.save.download = answersName();
  page.save.setAttribute('aria-disabled', String(steps.length === 0));
  showReport();
  showAnswers();
  if (focus === kBringIntoView) bringIntoView();
  // Kept right after the screen is drawn, not before it.
  const design = designText(steps.map((step) => step.bytes));
  setTimeout(() => keepDesign(design));
  page.console.dataset.runs = String(Number(page.console.dataset.runs ?? 0) + 1);
}

async function showPlaced(lines) {
  later = new Map();
  ({ steps, result: current } = await placeLines(run, lines));
  show(kBringIntoView);
}

// ---- the user's actions

// An answer that is a number with a decimal comma is sent as the user
// chooses; null when the user sends nothing.
async function asChosen(text) {
  if (!hasDecimalComma(text)) return text;
  const choice = await chooseDecimalPoint([text]);
  if (choice === null) return null;
  return choice === 'point' ? withPoint(text) : text;
}

async function answer(event) {
  event.preventDefault();
  const text = await asChosen(page.answer.value);
  if (text === null) {
    page.answer.focus();
    return;
  }
  page.answer.value = '';
  performance.mark('answer-sent');
  serially(async () => {
    if (current?.ending !== 'waiting') return;  // an earlier answer ended the run
    steps.push({ ...typedLine(text), ...nextPlace(current, steps) });
    current = await run(steps);
    if (later.size > 0) ({ steps, result: current } = await answerAgain(run, steps, current, later));
    show(kBringIntoView);
    performance.measure('answer-to-question', 'answer-sent');
  });
}

// Enter in a field of Respostas runs the program with that answer changed;
// Esc puts back the answer in use.
async function editAnswer(event) {
  const field = event.target;
  if (field.tagName !== 'INPUT') return;
  if (event.key === 'Escape') {
    field.value = field.dataset.text;
    return;
  }
  if (event.key !== 'Enter') return;
  event.preventDefault();
  const index = Number(field.dataset.index);
  const text = await asChosen(field.value);
  field.focus();
  if (text === null || text === steps[index]?.text) return;
  performance.mark('change-sent');
  serially(async () => {
    if (steps[index] === undefined) return;
    later = laterAnswers(steps, index + 1, later);
    ({ steps, result: current } = await changeAnswer(run, steps, index, typedLine(text), later));
    // A report made again leaves the user at the answer, for the next
    // change; a new question or an error is brought into view.
    show(current.ending === 'finished' ? kStayPut : kBringIntoView);
    performance.measure('change-to-report', 'change-sent');
  });
}

function back() {
  serially(async () => {
    if (steps.length === 0) return;
    steps = withoutLastAnswer(steps);
    later = new Map();
    current = await run(steps);
    show(kBringIntoView);
  });
}

async function restart() {
  if (!await confirmRestart()) return;
  serially(() => showPlaced([]));
}

// The phone's share sheet where there is one; elsewhere the address is
// copied, or shown to be copied by hand.
async function share() {
  const url = location.href;
  if (navigator.share) {
    try {
      await navigator.share({ title: document.title, url });
      return;
    } catch (error) {
      if (error.name === 'AbortError') return;
    }
  }
  try {
    await navigator.clipboard.writeText(url);
    page.status.textContent = 'Endereço copiado: aberto em outro aparelho, ele traz estas respostas e este relatório.';
  } catch {
    page.status.textContent = `Copie este endereço para abrir estas respostas em outro aparelho: ${url}`;
  }
}

function linesOf(bytes) {
  const lines = [];
  let start = 0;
  while (start < bytes.length) {
    let end = bytes.indexOf(kLineFeed, start);
    if (end < 0) end = bytes.length;
    lines.push(storedLine(bytes.slice(start, end)));
    start = end + 1;
  }
  return lines;
}

// An opened file's numbers written with a decimal comma: one choice for the
// whole file. False when the user sends nothing.
async function withChosenPoints(lines) {
  const commas = lines.filter((line) => hasDecimalComma(line.text));
  if (commas.length === 0) return true;
  const choice = await chooseDecimalPoint(commas.map((line) => line.text));
  if (choice === 'point') {
    for (const line of commas) {
      line.text = withPoint(line.text);
      line.bytes = line.bytes.map((byte) => (byte === kComma ? kPoint : byte));
    }
  }
  return choice !== null;
}

async function openAnswers(file) {
  if (file.size > kLargestAnswerFile) {
    page.status.textContent = `O arquivo ${file.name} é grande demais para um arquivo de respostas.`;
    return;
  }
  const lines = linesOf(new Uint8Array(await file.arrayBuffer()));
  if (await withChosenPoints(lines)) await showPlaced(lines);
}

function openChosen() {
  const [file] = page['answer-file'].files;
  page['answer-file'].value = '';
  if (file) serially(() => openAnswers(file));
}

function carriesFiles(event) {
  return event.dataTransfer && Array.from(event.dataTransfer.types).includes('Files');
}

function dragOver(event) {
  if (!carriesFiles(event) || program === null) return;
  event.preventDefault();
  event.dataTransfer.dropEffect = 'copy';
  page['drop-hint'].hidden = false;
}

function dragEnd(event) {
  if (event.type === 'dragleave' && event.relatedTarget !== null) return;
  page['drop-hint'].hidden = true;
}

function drop(event) {
  page['drop-hint'].hidden = true;
  if (!carriesFiles(event) || program === null) return;
  event.preventDefault();
  const [file] = event.dataTransfer.files;
  if (file) serially(() => openAnswers(file));
}

// The answers file is made when it is asked for, from the answers then.
function saveAnswers(event) {
  if (steps.length === 0) {
    event.preventDefault();
    return;
  }
  setLink(page.save, answerFileBytes(steps), answersName());
}

// The report wraps its lines on a narrow screen unless the user says not;
// the download keeps its bytes either way.
function setWrap(wrapped) {
  page.wrap.setAttribute('aria-pressed', String(wrapped));
  for (const text of document.querySelectorAll('.report-text')) text.classList.toggle('wrapped', wrapped);
}

// A design in the address (opened from a shared link, or typed) replaces the
// one on the page.
function addressChanged() {
  const lines = linesOfDesign(location.hash);
  if (lines !== null) serially(() => showPlaced(lines.map(storedLine)));
}

function offerUpdate(accept) {
  page.update.hidden = false;
  page.reload.addEventListener('click', accept, { once: true });
}

async function start() {
  if (location.protocol === 'file:') return;  // disk-check.js says what to do
  prepareDialogs();
  page['answer-form'].addEventListener('submit', answer);
  page['answer-list'].addEventListener('keydown', editAnswer);
  page.back.addEventListener('click', back);
  page.share.addEventListener('click', share);
  page.restart.addEventListener('click', restart);
  page.open.addEventListener('click', () => page['answer-file'].click());
  page['answer-file'].addEventListener('change', openChosen);
  page.print.addEventListener('click', () => window.print());
  page.wrap.addEventListener('click', () => setWrap(page.wrap.getAttribute('aria-pressed') !== 'true'));
  page.save.addEventListener('click', saveAnswers);
  document.addEventListener('dragover', dragOver);
  document.addEventListener('dragleave', dragEnd);
  document.addEventListener('drop', drop);
  window.addEventListener('hashchange', addressChanged);
  setWrap(matchMedia('(max-width: 46rem)').matches);
  await serially(async () => {
    program = await loadProgram(kProgramUrl);
    const lines = linesOfDesign(location.hash) ?? linesOfDesign(storedDesign()) ?? [];
    await showPlaced(lines.map(storedLine));
    performance.mark('first-question');
  });
  // After the page's own downloads, so the offline copy can reuse them.
  if (program !== null) keepOffline(offerUpdate).catch(() => {});
}

start();
