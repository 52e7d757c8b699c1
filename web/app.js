// The page: keeps the answers given so far (in the browser's storage and in
// the address), runs the program again with all of them as its answer file
// after every change, and shows the screen, the error report with a word on
// it, or the finished report and memo. It computes nothing itself.
import { designText, keepDesign, linesOfDesign, storedDesign } from './address.js';
import { acceptDroppedFiles, answerFileBytes, answersName, readAnswerFile, storedLine, typedLine } from './answer-files.js';
import { answerField, showAnswers } from './answer-list.js';
import { answerAgain, changeAnswer, laterAnswers, nextPlace, placeLines, withoutLastAnswer } from './answers.js';
import { guardedAnswer, guardedLines } from './comma-guard.js';
import { ConsoleView } from './console-view.js';
import { decode } from './cp1252.js';
import { setLink } from './downloads.js';
import { confirmRestart, prepareDialogs } from './dialogs.js';
import { explanationOf } from './explanations.js';
import { keepOffline } from './offline.js';
import { showReport } from './report-view.js';
import { loadProgram, runProgram } from './runner.js';
import { shareAddress } from './share.js';
import { screenLines } from './transcript.js';

const kProgramUrl = 'dosmo.wasm';
// How a run is shown: with the next question, the report or the error in
// view and focused, or leaving the focus where the user is (an edited answer).
const kBringIntoView = 'view';
const kStayPut = 'stay';

const page = Object.fromEntries([
  'console', 'answer-form', 'answer', 'send', 'explanation', 'status', 'back', 'share', 'restart',
  'open', 'answer-file', 'save', 'report-section', 'download', 'print', 'wrap', 'answers-section',
  'answer-list', 'drop-hint', 'update', 'reload',
].map((id) => [id, document.getElementById(id)]));
const consoleView = new ConsoleView(page.console);

let program = null;
let steps = [];        // {text, bytes, at, below, question}: each answer line and its place
let current = null;    // the last run's result
let later = new Map(); // answers a change took out, kept for their questions
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

async function run(lines) {
  return runProgram(program, answerFileBytes(lines));
}

// ---- showing a run

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
  const errorText = current.ending === 'waiting' ? '' : decode(current.stderr);
  consoleView.show(screenLines(decode(current.stdout), errorText, steps));
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
  page.save.download = answersName(current.files[0]?.name);
  page.save.setAttribute('aria-disabled', String(steps.length === 0));
  showReport(current.ending === 'finished' ? current.files : []);
  showAnswers(page['answers-section'], page['answer-list'], steps);
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

async function answer(event) {
  event.preventDefault();
  const text = await guardedAnswer(page.answer.value);
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
  const field = answerField(event);
  if (field === null) return;
  if (event.key === 'Escape') {
    field.value = field.dataset.text;
    return;
  }
  if (event.key !== 'Enter') return;
  event.preventDefault();
  const index = Number(field.dataset.index);
  const text = await guardedAnswer(field.value);
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

async function share() {
  const said = await shareAddress();
  if (said !== null) page.status.textContent = said;
}

async function openAnswers(file) {
  const read = await readAnswerFile(file);
  if (read.refused) {
    page.status.textContent = read.refused;
    return;
  }
  if (await guardedLines(read.lines)) await showPlaced(read.lines);
}

function openChosen() {
  const [file] = page['answer-file'].files;
  page['answer-file'].value = '';
  if (file) serially(() => openAnswers(file));
}

// The answers file is made when it is asked for, from the answers then.
function saveAnswers(event) {
  if (steps.length === 0) {
    event.preventDefault();
    return;
  }
  setLink(page.save, answerFileBytes(steps), answersName(current.files[0]?.name));
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
  acceptDroppedFiles(page['drop-hint'], () => program !== null, (file) => serially(() => openAnswers(file)));
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
