// The page: keeps the answers given so far (in the browser's list of designs
// and in the address), runs the program again with all of them as its answer
// file after every change, and shows the screen, the error report with a word
// on it, or the finished report and memo. It computes nothing itself.
import { addressDesign, designOf, designText, showInAddress } from './address.js';
import { acceptDroppedFiles, answerFileBytes, answersName, readAnswerFile, storedLine, typedLine } from './answer-files.js';
import { announceChange, answerField, fieldOf, shortLabelOf, showAnswers } from './answer-list.js';
import {
  answerAgain, changeAnswer, keptLines, laterAnswers, laterFromLines, nextPlace, placeLines, withoutLastAnswer,
} from './answers.js';
import { guardedAnswer, guardedLines } from './comma-guard.js';
import { ConsoleView } from './console-view.js';
import { decode } from './cp1252.js';
import { designName, showDesigns } from './design-list.js';
import {
  addDesign, currentDesign, deleteDesign, designById, setCurrentDesign, storedDesigns, updateDesign,
} from './designs.js';
import { setLink } from './downloads.js';
import { askDesignName, confirmDelete, confirmRestart, prepareDialogs } from './dialogs.js';
import { explanationOf } from './explanations.js';
import { keyFigures } from './memorial.js';
import { keepOffline } from './offline.js';
import { questionLabel } from './question-labels.js';
import { showReport } from './report-view.js';
import { loadProgram, runProgram } from './runner.js';
import { shareAddress } from './share.js';
import { screenLines } from './transcript.js';

// How a run is shown: with the next question, the report or the error in
// view and focused, or leaving the focus where the user is (an edited answer).
const kBringIntoView = 'view';
const kStayPut = 'stay';

const page = Object.fromEntries([
  'console', 'answer-form', 'answer', 'send', 'explanation', 'status', 'back', 'share', 'restart',
  'open', 'answer-file', 'save', 'report-section', 'download', 'print', 'wrap', 'answers-section',
  'answer-list', 'drop-hint', 'update', 'reload', 'print-heading', 'quantities-form', 'volume', 'loss',
  'quantities-message',
].map((id) => [id, document.getElementById(id)]));
const consoleView = new ConsoleView(page.console);

let program = null;
let steps = [];        // {text, bytes, at, below, question}: each answer line and its place
let current = null;    // the last run's result
let later = new Map(); // answers a change took out, kept for their questions
let laterFollows = false;  // whether `later` answers the very next questions (after Voltar)
let designId = null;   // the stored design the page shows
let quantities = [];   // --volume V --perda P for the memo, as the user typed them
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

// One run on the lines; `next` gives more lines as the program asks
// (answers.js).
async function run(lines, next = null, options = quantities) {
  const more = next && ((stdout) => {
    const line = next(stdout);
    return line === null ? null : answerFileBytes([line]);
  });
  return runProgram(program, answerFileBytes(lines), options, more);
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
// The answer field is named after the question on the screen, and a number
// opens the decimal keypad.
function nameAnswerField() {
  const { question } = nextPlace(current, steps);
  const { label, numeric } = questionLabel(question);
  page.answer.setAttribute('aria-label', `Resposta: ${[label, question].filter(Boolean).join(' — ')}`);
  page.answer.inputMode = numeric ? 'decimal' : 'text';
}

// The error's word, and the answer to correct in Respostas.
function explanation(errorText) {
  const last = steps.findLastIndex((step) => step.at !== null);
  const advice = last < 0 ? '' : ` A resposta a corrigir é “${steps[last].text}” (${shortLabelOf(steps, last)}): mude-a em Respostas, ou use Voltar.`;
  return explanationOf(errorText) + advice;
}

function show(focus) {
  const errorText = current.ending === 'waiting' ? '' : decode(current.stderr);
  consoleView.show(screenLines(decode(current.stdout), errorText, steps));
  const waiting = current.ending === 'waiting';
  if (waiting) nameAnswerField();
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
  page.explanation.textContent = failed ? explanation(errorText) : '';
  setLink(page.save, steps.length === 0 ? null : answerFileBytes(steps), answersName(current.files[0]?.name));
  showReport(current.ending === 'finished' ? current.files : [], steps[0]?.text);
  showAnswers(page['answers-section'], page['answer-list'], steps);
  if (focus === kBringIntoView) bringIntoView();
  // Kept right after the screen is drawn, not before it.
  const design = designText(steps.map((step) => step.bytes), laterFollows ? keptLines(later).map((line) => line.bytes) : []);
  const finished = current.ending === 'finished';
  const made = {
    relatorio: current.files[0]?.name ?? (steps[0]?.text.trim() || undefined),
    figuras: finished ? keyFigures(current.files.slice(1)) : undefined,
  };
  setTimeout(() => keepDesign(design, made));
  page.console.dataset.runs = String(Number(page.console.dataset.runs ?? 0) + 1);
}

// The design is kept in the list (a new entry the first time) and shown in
// the address; its report's name and key figures go with it.
function keepDesign(text, made) {
  showInAddress(text);
  if (text !== '') {
    if (designId === null || designById(designId) === undefined) {
      designId = addDesign(text);
      setCurrentDesign(designId);
    }
    const changes = { texto: text };
    if (made.relatorio !== undefined) changes.relatorio = made.relatorio;
    if (made.figuras !== undefined) changes.figuras = made.figuras;
    updateDesign(designId, changes);
  }
  listDesigns();
}

function listDesigns() {
  showDesigns(storedDesigns(), designId, { open: reopen, rename, remove });
}

// Lines placed from the start; `following` kept for the questions after them.
async function showPlaced(lines, following = []) {
  later = laterFromLines(following);
  laterFollows = following.length > 0;
  ({ steps, result: current } = await placeLines(run, lines));
  show(kBringIntoView);
}

// A design from a link or a stored text, as the page's design `id` (null: a
// new entry). Numbers with a decimal comma are sent as the user chooses;
// false when the user sends nothing.
async function showDesign(design, id, guarded = true) {
  const lines = design.answers.map(storedLine);
  const following = design.following.map(storedLine);
  if (guarded && !await guardedLines([...lines, ...following])) return false;
  designId = id;
  setCurrentDesign(id);
  await showPlaced(lines, following);
  return true;
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
    ({ steps, result: current } = await answerAgain(run, steps, later));
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
    const before = current.ending === 'finished' ? keyFigures(current.files.slice(1)) : [];
    later = laterAnswers(steps, index + 1, later);
    laterFollows = false;
    ({ steps, result: current } = await changeAnswer(run, steps, index, typedLine(text), later));
    // An answer that ends the run in an error keeps every later answer in
    // the design, unread, until the user changes it.
    if (current.ending === 'failed' || current.ending === 'crashed') steps = [...steps, ...keptLines(later)];
    // A report made again leaves the user at the answer, for the next
    // change; a new question or an error is brought into view.
    show(current.ending === 'finished' ? kStayPut : kBringIntoView);
    performance.measure('change-to-report', 'change-sent');
    const changed = fieldOf(page['answer-list'], index);
    if (changed) announceChange(changed, changeNote(before), current.ending === 'finished' ? showTheReport : null);
  });
}

// What an applied change did, as the key figures the program wrote.
function changeNote(before) {
  if (current.ending !== 'finished') return current.ending === 'waiting' ? 'Aplicada: o programa faz uma nova pergunta.' : 'Aplicada: o programa parou com um erro.';
  const after = keyFigures(current.files.slice(1));
  const changes = after.filter((figure) => before.some((old) => old.nome === figure.nome && old.texto !== figure.texto))
    .map((figure) => `${figure.nome} ${before.find((old) => old.nome === figure.nome).texto} → ${figure.texto}`);
  return changes.length > 0 ? `Aplicada: ${changes.join('; ')}.` : 'Aplicada: os números-chave não mudaram.';
}

function showTheReport() {
  page['report-section'].scrollIntoView({ block: 'start' });
  page.download.focus({ preventScroll: true });
}

// Takes back the last answer read; the answers after it are kept and given
// again once its question is answered anew.
function back() {
  serially(async () => {
    if (steps.length === 0) return;
    const { steps: kept, following } = withoutLastAnswer(steps);
    later = laterAnswers(steps, steps.length - following.length, later);
    laterFollows = laterFollows || following.length > 0;
    steps = kept;
    current = await run(steps);
    show(kBringIntoView);
  });
}

async function restart() {
  if (!await confirmRestart()) return;
  serially(async () => {
    if (designId !== null) deleteDesign(designId);
    designId = null;
    await showPlaced([]);
  });
}

function reopen(design) {
  serially(() => showDesign(designOf(design.texto), design.id, false));
}

async function rename(design) {
  const name = await askDesignName(designName(design));
  if (name === null) return;
  updateDesign(design.id, { nome: name });
  listDesigns();
}

async function remove(design) {
  if (!await confirmDelete(designName(design))) return;
  deleteDesign(design.id);
  if (design.id !== designId) {
    listDesigns();
    return;
  }
  serially(async () => {
    designId = null;
    await showPlaced([]);
  });
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
  // A new design: the one on the page stays in the list.
  await showDesign({ answers: read.lines.map((line) => line.bytes), following: [] }, null);
}

function openChosen() {
  const [file] = page['answer-file'].files;
  page['answer-file'].value = '';
  if (file) serially(() => openAnswers(file));
}

// The memo's quantities for the volume and loss typed, which the program
// reads itself (point or comma); a value it refuses (status 2, before any
// question) is said with its own words and changes nothing.
const kRefusedOptions = 2;

function askQuantities(event) {
  event.preventDefault();
  const volume = page.volume.value.trim();
  const loss = page.loss.value.trim();
  const options = [...(volume ? ['--volume', volume] : []), ...(loss ? ['--perda', loss] : [])];
  serially(async () => {
    const result = await run(steps, null, options);
    const refused = result.status === kRefusedOptions;
    page['quantities-message'].hidden = !refused;
    page['quantities-message'].textContent = refused ? decode(result.stderr).split('\r\n')[0] : '';
    if (refused) return;
    quantities = options;
    current = result;
    show(kStayPut);
    page.status.textContent = options.length > 0 ? 'Memorial refeito com as quantidades para pedir.' : 'Memorial refeito sem as quantidades.';
  });
}

// The report wraps its lines on a narrow screen unless the user says not;
// the download keeps its bytes either way.
function setWrap(wrapped) {
  page.wrap.setAttribute('aria-pressed', String(wrapped));
  for (const text of document.querySelectorAll('.report-text')) text.classList.toggle('wrapped', wrapped);
}

// A design in the address (opened from a shared link, or typed) is opened
// as a design of its own; the one on the page stays in the list.
function addressChanged() {
  const design = designOf(location.hash);
  if (design !== null && addressDesign() !== designById(designId)?.texto) serially(() => showDesign(design, null));
}

// The design a visit opens: the address's (a link, or this tab's design
// after a reload), else this tab's, else the newest kept, else none.
async function openFirstDesign() {
  const inAddress = designOf(location.hash);
  const tabs = designById(currentDesign());
  if (inAddress !== null && tabs?.texto !== addressDesign() && await showDesign(inAddress, null)) return;
  const kept = tabs ?? storedDesigns()[0];
  if (kept !== undefined) await showDesign(designOf(kept.texto), kept.id, false);
  else await showPlaced([]);
}

// Every printed page carries the report's name and the date it is printed.
function headPrintedPages() {
  const name = current?.files[0]?.name ?? '';
  page['print-heading'].textContent = `dosmo — ${name} — ${new Date().toLocaleString('pt-BR', { dateStyle: 'short', timeStyle: 'short' })}`;
}

function offerUpdate(accept) {
  page.update.hidden = false;
  page.reload.addEventListener('click', accept, { once: true });
}

// `fetching`: the fetch of dosmo.wasm, begun by start.js beside the modules.
export async function start(fetching) {
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
  window.addEventListener('beforeprint', headPrintedPages);
  page['quantities-form'].addEventListener('submit', askQuantities);
  page.wrap.addEventListener('click', () => setWrap(page.wrap.getAttribute('aria-pressed') !== 'true'));
  acceptDroppedFiles(page['drop-hint'], () => program !== null, (file) => serially(() => openAnswers(file)));
  window.addEventListener('hashchange', addressChanged);
  setWrap(matchMedia('(max-width: 46rem)').matches);
  await serially(async () => {
    program = await loadProgram(fetching);
    await openFirstDesign();
    performance.mark('first-question');
  });
  // After the page's own downloads, so the offline copy can reuse them.
  if (program !== null) keepOffline(offerUpdate).catch(() => {});
}
