// The decimal comma: the program reads a comma as a separator, so "1,59" is
// read as 1. A number written with a decimal comma is never sent as written
// unless the user chooses so, whichever way it came: typed, edited in
// Respostas, from an opened file or from a link.
import { chooseDecimalPoint } from './dialogs.js';

const kNumberWithComma = /^\s*[+-]?(?:\d+,\d+|,\d+)\s*$/;
const kComma = 0x2c;
const kPoint = 0x2e;

export function hasDecimalComma(text) {
  return kNumberWithComma.test(text);
}

function withPoint(text) {
  return text.replace(',', '.');
}

// One answer as the user chooses to send it; null when nothing is sent.
export async function guardedAnswer(text) {
  if (!hasDecimalComma(text)) return text;
  const shown = text.trim();
  const choice = await chooseDecimalPoint([shown], `Enviar ${withPoint(shown)}`);
  if (choice === null) return null;
  return choice === 'point' ? withPoint(text) : text;
}

// Lines ({text, bytes}) of a file or a link: one choice for all the numbers
// written with a comma, applied in place. False when the user sends nothing.
export async function guardedLines(lines) {
  const commas = lines.filter((line) => hasDecimalComma(line.text));
  if (commas.length === 0) return true;
  const texts = commas.map((line) => line.text.trim());
  const choice = await chooseDecimalPoint(texts, texts.length === 1 ? `Enviar ${withPoint(texts[0])}` : 'Enviar com ponto');
  if (choice === 'point') {
    for (const line of commas) {
      line.text = withPoint(line.text);
      line.bytes = line.bytes.map((byte) => (byte === kComma ? kPoint : byte));
    }
  }
  return choice !== null;
}
