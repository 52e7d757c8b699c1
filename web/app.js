// The page: keeps the answers given so far, runs the program again with all
// of them as its answer file after every change, and shows the screen, the
// error report or the finished report. It computes nothing itself.
import { decode, encode } from './cp1252.js';
import { loadProgram, runProgram } from './runner.js';
import { answerPlace, screenLines } from './transcript.js';

const kProgramUrl = 'dosmo.wasm';
const kLineFeed = 0x0a;
const kCarriageReturn = 0x0d;
const kLargestAnswerFile = 64 * 1024;
// Lines of an opened file placed on the screen one run each; the program
// never reads that many answers, so later lines cannot be on its screen.
const kMostPlacedLines = 400;

const page = Object.fromEntries([
  'console', 'answer-form', 'answer', 'send', 'status', 'back', 'restart', 'open',
  'answer-file', 'save', 'report-section', 'report-name', 'report', 'download', 'print',
  'drop-hint',
].map((id) => [id, document.getElementById(id)]));

let program = null;
let steps = [];        // {text, bytes, at, below}: each answer line and its place
let current = null;    // the last run's result
let shownLines = [];   // keys of the console lines on the screen
let queue = Promise.resolve();
let pending = 0;

// One change at a time, in the order the user made them; the console is
// marked busy until the last one is shown.
function serially(task) {
  pending++;
  page.console.setAttribute('aria-busy', 'true');
  queue = queue.then(task).catch((error) => {
    page.status.textContent = `Falha ao executar o programa: ${error.message ?? error}`;
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

// ---- showing a run

function lineKey(line) {
  return JSON.stringify(line);
}

function lineElement(line) {
  const element = document.createElement('span');
  element.className = 'line';
  for (const segment of line) {
    if (segment.kind === 'output') {
      element.append(segment.text);
    } else {
      const mark = document.createElement('span');
      mark.className = segment.kind;
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

function setLink(link, bytes, name) {
  if (link.href) URL.revokeObjectURL(link.href);
  if (bytes === null) {
    link.removeAttribute('href');
    link.setAttribute('aria-disabled', 'true');
    return;
  }
  link.href = URL.createObjectURL(new Blob([bytes], { type: 'text/plain' }));
  link.download = name;
  link.removeAttribute('aria-disabled');
}

function showReport() {
  const report = current.ending === 'finished' ? current.files[0] : undefined;
  page['report-section'].hidden = report === undefined;
  if (report === undefined) {
    setLink(page.download, null);
    return;
  }
  page['report-name'].textContent = report.name;
  page.report.textContent = decode(report.bytes).replace(/\r\n/g, '\n');
  setLink(page.download, report.bytes, report.name);
  page.download.textContent = `Baixar ${report.name}`;
}

const kStatusText = {
  waiting: 'Aguardando a resposta.',
  finished: 'Cálculo concluído.',
  failed: 'O programa terminou com erro. Use Voltar para corrigir a última resposta.',
};

function statusText() {
  if (current.ending === 'crashed') return `O programa parou de forma inesperada (${current.trap}).`;
  if (current.ending === 'finished' && current.files.length === 0) return 'Cálculo concluído, sem relatório.';
  return kStatusText[current.ending];
}

function show() {
  const outputText = decode(current.stdout);
  const errorText = current.ending === 'waiting' ? '' : decode(current.stderr);
  showConsole(screenLines(outputText, errorText, steps));
  const waiting = current.ending === 'waiting';
  page.answer.disabled = !waiting;
  page.send.disabled = !waiting;
  page.back.disabled = steps.length === 0;
  page.restart.disabled = steps.length === 0;
  page.open.disabled = false;
  page.status.textContent = statusText();
  setLink(page.save, steps.length > 0 ? answerFileBytes(steps) : null, 'respostas.txt');
  showReport();
  if (waiting) {
    page.answer.focus({ preventScroll: true });
    // The question, the answer field and the buttons under it in view.
    page.back.parentElement.scrollIntoView({ block: 'end' });
  } else if (!page['report-section'].hidden) {
    page.download.focus({ preventScroll: true });
  }
}

// Runs the program on the answers so far and shows the result; the count
// of runs shown lets automation wait for the screen of its last action.
async function rerun() {
  current = await run(steps);
  show();
  page.console.dataset.runs = String(Number(page.console.dataset.runs ?? 0) + 1);
}

// ---- the user's actions

function answer(event) {
  event.preventDefault();
  const text = page.answer.value;
  page.answer.value = '';
  performance.mark('answer-sent');
  serially(async () => {
    if (current?.ending !== 'waiting') return;  // an earlier answer ended the run
    steps.push({ text, bytes: encode(text), ...answerPlace(decode(current.stdout)) });
    await rerun();
    performance.measure('answer-to-question', 'answer-sent');
  });
}

// Takes back the last answer the program read, with any lines of an opened
// file after it that it never came to read.
function back() {
  serially(async () => {
    if (steps.length === 0) return;
    while (steps.length > 1 && steps[steps.length - 1].at === null) steps.pop();
    steps.pop();
    await rerun();
  });
}

function restart() {
  serially(async () => {
    steps = [];
    await rerun();
  });
}

// An answer file's lines, as bytes without their LF; a CR before the LF
// stays with the line, as the program reads it.
function linesOf(bytes) {
  const lines = [];
  let start = 0;
  while (start < bytes.length) {
    let end = bytes.indexOf(kLineFeed, start);
    if (end < 0) end = bytes.length;
    const line = bytes.slice(start, end);
    const shown = line[line.length - 1] === kCarriageReturn ? line.subarray(0, -1) : line;
    lines.push({ text: decode(shown), bytes: line });
    start = end + 1;
  }
  return lines;
}

// Places each line of an opened file on the screen by running the program
// on the lines before it, then runs the whole file.
async function openAnswers(file) {
  if (file.size > kLargestAnswerFile) {
    page.status.textContent = `O arquivo ${file.name} é grande demais para um arquivo de respostas.`;
    return;
  }
  const lines = linesOf(new Uint8Array(await file.arrayBuffer()));
  const placed = [];
  let before = await run(placed);
  for (const line of lines) {
    const reading = before.ending === 'waiting' && placed.length < kMostPlacedLines;
    placed.push({ ...line, ...(reading ? answerPlace(decode(before.stdout)) : { at: null, below: false }) });
    if (reading) before = await run(placed);
  }
  steps = placed;
  await rerun();
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

function followLink(event) {
  if (!event.currentTarget.href) event.preventDefault();
}

async function start() {
  page['answer-form'].addEventListener('submit', answer);
  page.back.addEventListener('click', back);
  page.restart.addEventListener('click', restart);
  page.open.addEventListener('click', () => page['answer-file'].click());
  page['answer-file'].addEventListener('change', openChosen);
  page.print.addEventListener('click', () => window.print());
  page.save.addEventListener('click', followLink);
  document.addEventListener('dragover', dragOver);
  document.addEventListener('dragleave', dragEnd);
  document.addEventListener('drop', drop);
  if ('serviceWorker' in navigator) {
    navigator.serviceWorker.register('sw.js').catch(() => {});
  }
  await serially(async () => {
    program = await loadProgram(kProgramUrl);
    await rerun();
    performance.mark('first-question');
  });
}

start();
