// The screen of the dialogue: the program's standard output for the answers
// given so far, with each answer shown where it was typed (as a terminal
// shows typing) and any run-time error report after it, cut into lines.

const kLineEnd = '\r\n';
// The run-time's own lines among the program's output, in English.
const kRunTimeLines = /^(Pause - Please enter|File name missing or blank|UNIT \d+\?)/;

export function isRunTimeLine(text) {
  return kRunTimeLines.test(text);
}

// Where the next answer goes in the output of a run that stopped waiting for
// it. At the end of input the question's line is still open, and the run's
// end closes it with CR LF; the answer is typed on the line below, before
// the CR LF that opens the program's next record.
export function answerPlace(outputText) {
  if (outputText.endsWith(kLineEnd)) return { at: outputText.length - kLineEnd.length, below: true };
  return { at: outputText.length, below: false };
}

// The question an answer placed at `at` answers, as the screen shows it: the
// last group of non-blank lines the program wrote since the answer before
// (at `from`), its lines joined by a blank.
export function questionText(outputText, from, at) {
  const lines = forDisplay(outputText.slice(from, at)).split('\n').map((line) => line.trim());
  let end = lines.length;
  while (end > 0 && lines[end - 1] === '') end--;
  let start = end;
  while (start > 0 && lines[start - 1] !== '') start--;
  return lines.slice(start, end).join(' ');
}

// Segments in screen order: {kind: 'output' | 'answer' | 'error', text}.
function segmentsOf(outputText, errorText, steps) {
  const segments = [];
  let from = 0;
  for (const step of steps) {
    if (step.at === null) continue;  // a line the program never came to read
    const at = Math.min(Math.max(step.at, from), outputText.length);
    segments.push({ kind: 'output', text: outputText.slice(from, at) });
    if (step.below) segments.push({ kind: 'output', text: kLineEnd });
    segments.push({ kind: 'answer', text: step.text });
    if (!step.below) segments.push({ kind: 'output', text: kLineEnd });
    from = at;
  }
  segments.push({ kind: 'output', text: outputText.slice(from) });
  if (errorText) segments.push({ kind: 'error', text: errorText });
  return segments;
}

// A record's carriage control may leave a lone CR (overprint) or a form feed;
// on the page only the line ends count.
export function forDisplay(text) {
  return text.replace(/\r\n/g, '\n').replace(/[\r\f]/g, '');
}

// The screen as lines, each a list of segments.
export function screenLines(outputText, errorText, steps) {
  const lines = [[]];
  for (const segment of segmentsOf(outputText, errorText, steps)) {
    const pieces = forDisplay(segment.text).split('\n');
    pieces.forEach((piece, index) => {
      if (index > 0) lines.push([]);
      // An empty answer stays: it is a line typed with nothing on it.
      if (piece || segment.kind === 'answer') lines[lines.length - 1].push({ kind: segment.kind, text: piece });
    });
  }
  // The text's last line end ends the last line: no empty line follows it.
  if (lines.length > 1 && lines[lines.length - 1].length === 0) lines.pop();
  return lines;
}
