// Answer files: the answers as the program reads them from a file (one line
// each, in its single-byte code page, LF ends a line and a CR before it stays
// with the line), opened by the file picker or dropped on the page, and
// saved from the answers given.
import { decode, encode } from './cp1252.js';

const kLineFeed = 0x0a;
const kCarriageReturn = 0x0d;
const kLargestAnswerFile = 64 * 1024;
// Bytes a text of answers holds: printable ones, tab, CR, LF, form feed and
// the Ctrl-Z that ends a console's input. Anything else is not text.
const kTextControls = new Set([0x09, 0x0a, 0x0c, 0x0d, 0x1a]);

export function typedLine(text) {
  return { text, bytes: encode(text) };
}

// A line of a file or of the address, as bytes without its LF.
export function storedLine(bytes) {
  const shown = bytes[bytes.length - 1] === kCarriageReturn ? bytes.subarray(0, -1) : bytes;
  return { text: decode(shown), bytes };
}

export function linesOf(bytes) {
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

// The bytes of an answer file holding the lines, each ended by LF.
export function answerFileBytes(lines) {
  const total = lines.reduce((sum, line) => sum + line.bytes.length + 1, 0);
  const bytes = new Uint8Array(total);
  let at = 0;
  for (const line of lines) {
    bytes.set(line.bytes, at);
    at += line.bytes.length;
    bytes[at++] = kLineFeed;
  }
  return bytes;
}

function isText(bytes) {
  return bytes.every((byte) => byte >= 0x20 || kTextControls.has(byte));
}

// The lines of an opened file, or {refused: why} for a file that cannot be
// an answer file (too large, empty, or not text: a PDF or a picture).
export async function readAnswerFile(file) {
  if (file.size > kLargestAnswerFile) return { refused: `O arquivo ${file.name} é grande demais para um arquivo de respostas.` };
  const bytes = new Uint8Array(await file.arrayBuffer());
  if (bytes.length === 0) return { refused: `O arquivo ${file.name} está vazio: não tem respostas.` };
  if (!isText(bytes)) return { refused: `O arquivo ${file.name} não é um arquivo de respostas (texto, uma resposta por linha).` };
  return { lines: linesOf(bytes) };
}

function stemOf(name) {
  const dot = name.lastIndexOf('.');
  return dot > 0 ? name.slice(0, dot) : name;
}

// The saved answers are named after the report they make.
export function answersName(reportName) {
  return reportName ? `${stemOf(reportName)}-respostas.txt` : 'respostas.txt';
}

function carriesFiles(event) {
  return event.dataTransfer && Array.from(event.dataTransfer.types).includes('Files');
}

// A file dropped anywhere on the page is opened (`open(file)`) once `ready()`;
// `hint` shows while one is dragged over it.
export function acceptDroppedFiles(hint, ready, open) {
  document.addEventListener('dragover', (event) => {
    if (!carriesFiles(event) || !ready()) return;
    event.preventDefault();
    event.dataTransfer.dropEffect = 'copy';
    hint.hidden = false;
  });
  document.addEventListener('dragleave', (event) => {
    if (event.relatedTarget === null) hint.hidden = true;
  });
  document.addEventListener('drop', (event) => {
    hint.hidden = true;
    if (!carriesFiles(event) || !ready()) return;
    event.preventDefault();
    const [file] = event.dataTransfer.files;
    if (file) open(file);
  });
}
