// The answers as the program read them: each answer line with its place on
// the screen and the question it answers, both found by running the program
// on the lines before it. Changing one answer keeps each later answer for
// its question wherever that question is still asked.
import { decode } from './cp1252.js';
import { answerPlace, questionText } from './transcript.js';

// Lines of an opened file placed on the screen one run each; the program
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

// Places each line ({text, bytes}) after `steps` by running the program on
// the lines before it; returns the steps and the run of all of them.
export async function placeLines(run, lines, steps = [], before = null) {
  const placed = [...steps];
  let result = before ?? await run(placed);
  let everyLineRead = true;
  for (const line of lines) {
    const reading = result.ending === 'waiting' && placed.length < kMostPlacedLines;
    placed.push({ text: line.text, bytes: line.bytes, ...(reading ? nextPlace(result, placed) : kUnread) });
    if (reading) result = await run(placed);
    else everyLineRead = false;
  }
  if (!everyLineRead) result = await run(placed);
  return { steps: placed, result };
}

// Answers taken out of the dialogue by a change, by the question they
// answered, to be given again wherever that question comes back.
export function laterAnswers(steps, from, earlier = new Map()) {
  const later = new Map();
  steps.forEach((step, position) => {
    if (position >= from && step.at !== null) later.set(keyOf(step.question, steps.slice(0, position)), step);
  });
  for (const [key, step] of earlier) if (!later.has(key)) later.set(key, step);
  return later;
}

// While the program asks a question that an answer of `later` answered
// before, that answer is given again (and taken out of `later`); the first
// question that is new waits for its answer.
export async function answerAgain(run, steps, result, later) {
  const kept = [...steps];
  while (result.ending === 'waiting' && kept.length < kMostPlacedLines) {
    const place = nextPlace(result, kept);
    const key = keyOf(place.question, kept);
    const old = later.get(key);
    if (old === undefined) break;
    later.delete(key);
    kept.push({ text: old.text, bytes: old.bytes, ...place });
    result = await run(kept);
  }
  return { steps: kept, result };
}

// The steps with the answer at `index` replaced by `line`: the answers
// before it stay, and each later question takes the answer it had before.
export async function changeAnswer(run, steps, index, line, later) {
  const { at, below, question } = steps[index];
  const kept = [...steps.slice(0, index), { text: line.text, bytes: line.bytes, at, below, question }];
  return answerAgain(run, kept, await run(kept), later);
}

// Takes back the last answer the program read, with any lines of an opened
// file after it that it never came to read.
export function withoutLastAnswer(steps) {
  const kept = [...steps];
  while (kept.length > 1 && kept[kept.length - 1].at === null) kept.pop();
  kept.pop();
  return kept;
}
