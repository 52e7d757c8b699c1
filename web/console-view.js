// The console on the page: the program's screen as lines, each answer shown
// where it was typed and the run-time's English lines marked as English.
// Only the lines that changed are replaced, so the live region announces
// what is new (the next question), not the whole screen again.
import { isRunTimeLine } from './transcript.js';

function lineKey(line) {
  return JSON.stringify(line);
}

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

// The key of a line the page came with (the program's first screen, written
// in by the build): its text, all output.
function keyOfShown(element) {
  const text = element.textContent.replace(/\n$/, '');
  return lineKey(text ? [{ kind: 'output', text }] : []);
}

export class ConsoleView {
  constructor(element) {
    this.element = element;
    // Keys of the lines on the screen: the first run's screen, the same as
    // the one the page came with, changes nothing.
    this.shown = [...element.children].map(keyOfShown);
  }

  // `lines`: lists of segments {kind: 'output' | 'answer' | 'error', text}.
  show(lines) {
    const keys = lines.map(lineKey);
    let same = 0;
    while (same < keys.length && same < this.shown.length && keys[same] === this.shown[same]) same++;
    while (this.element.childNodes.length > same) this.element.lastChild.remove();
    for (let index = same; index < lines.length; index++) this.element.append(lineElement(lines[index]));
    this.shown = keys;
  }
}
