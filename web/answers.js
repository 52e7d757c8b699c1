// The answers as the program read them: each answer line with its place on
// the screen and the question it answers, both found by running the program
// on the lines before it. Changing one answer keeps each later answer for
// its question wherever that question is still asked.
import { decode } from './cp1252.js';
import { answerPlace, questionText } from './transcript.js';

// Lines of an opened file, or of a link, placed on the screen; the program
// never reads that many answers, so later lines cannot be on its screen.
const kMostPlacedLines = 400;
const kUnread = { at: null, below: false, question: null };

function lastPlaced(steps) {
  for (let index = steps.length - 1; index >= 0; index--) {
    if (steps[index].at !== null) return steps[index];
  }
  return { at: 0, question: '' };
}

// Where the answer to the question a waiting run asks goes, and that question.
// A question that nothing new was written for is the one still waiting (an
// empty line does not answer a question).
export function nextPlace(result, steps) {
  const output = decode(result.stdout);
  const place = answerPlace(output);
  const previous = lastPlaced(steps);
  return { ...place, question: questionText(output, previous.at, place.at) || previous.question };
}

// A question asked a second time is a second question: the key counts it.
function keyOf(question, earlier) {
  return `${question}\u0000${earlier.filter((step) => step.question === question).length}`;
}

// `run(lines, next)` runs the program once on the lines; each time it asks
// for more, `next(stdout)` (the output as a run ending there would leave
// it) gives the next line, or null to end its input there.

// Places each line ({text, bytes}) after `steps`, in one run: a line is
// given when the program asks for more, and placed where it asks. Lines it
// never came to read are kept unread, and given with the others in a last
// run, as the program reads a file; returns the steps and that run.
export async function placeLines(run, lines, steps = []) {
  const placed = [...steps];
  let taken = 0;
  let result = await run(placed, (stdout) => {
    if (taken === lines.length || placed.length >= kMostPlacedLines) return null;
    const line = lines[taken++];
    placed.push({ text: line.text, bytes: line.bytes, ...nextPlace({ stdout }, placed) });
    return line;
  });
  if (taken < lines.length) {
    for (const line of lines.slice(taken)) placed.push({ text: line.text, bytes: line.bytes, ...kUnread });
    result = await run(placed);
  }
  return { steps: placed, result };
}

// Lines of a file or a link the program never came to read (after an answer
// it refused) answer no known question: they are given again in their order
// to the questions no kept answer answers.
function unreadKey(position) {
  return `\u0001${position}`;
}

function firstUnread(later) {
  for (const key of later.keys()) if (key.startsWith('\u0001')) return key;
  return undefined;
}

// Answers taken out of the dialogue by a change, by the question they
// answered, to be given again wherever that question comes back; in the
// order they were given.
export function laterAnswers(steps, from, earlier = new Map()) {
  const later = new Map();
  steps.forEach((step, position) => {
    if (position < from) return;
    const key = step.question === null ? unreadKey(position) : keyOf(step.question, steps.slice(0, position));
    later.set(key, step);
  });
  for (const [key, step] of earlier) if (!later.has(key)) later.set(key, step);
  return later;
}

// Lines kept for the questions after the last answer (from an address),
// given again in their order.
export function laterFromLines(lines) {
  return laterAnswers(lines.map((line) => ({ text: line.text, bytes: line.bytes, ...kUnread })), 0);
}

// The answers kept for later, as lines the program has not read: kept in the
// design (storage and address) while the run stops before their questions.
export function keptLines(later) {
  return [...later.values()].map((step) => ({ text: step.text, bytes: step.bytes, ...kUnread, question: step.question }));
}

// The steps run once more: while the program asks a question that an
// answer of `later` answered before, that answer is given again (and taken
// out of `later`); the first question that is new waits for its answer.
export async function answerAgain(run, steps, later) {
  const kept = [...steps];
  const result = await run(kept, (stdout) => {
    if (kept.length >= kMostPlacedLines) return null;
    const place = nextPlace({ stdout }, kept);
    const key = later.has(keyOf(place.question, kept)) ? keyOf(place.question, kept) : firstUnread(later);
    const old = later.get(key);
    if (old === undefined) return null;
    later.delete(key);
    kept.push({ text: old.text, bytes: old.bytes, ...place });
    return old;
  });
  return { steps: kept, result };
}

// The steps with the answer at `index` replaced by `line`: the answers
// before it stay, and each later question takes the answer it had before.
export async function changeAnswer(run, steps, index, line, later) {
  const { at, below, question } = steps[index];
  return answerAgain(run, [...steps.slice(0, index), { text: line.text, bytes: line.bytes, at, below, question }], later);
}

// Takes back the last answer the program read; the lines after it that it
// never came to read are kept apart (`following`), to be given again once
// that question is answered anew.
export function withoutLastAnswer(steps) {
  let last = steps.length - 1;
  while (last > 0 && steps[last].at === null) last--;
  return { steps: steps.slice(0, Math.max(last, 0)), following: steps.slice(last + 1) };
}
