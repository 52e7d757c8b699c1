// The calculation memo the program writes beside its report at a normal end
// (<name>-memorial.txt, UTF-8 with CR LF, and <name>-memorial.json): its text
// as written, both downloads with the exact bytes, its alerts and key figures
// as the JSON writes them, and the composition of one
// cubic metre drawn from the JSON as one bar of absolute volumes, each part
// with its mass. The drawing only lays the program's numbers side by side;
// the list under it is its text alternative. Without the files, no section.
import { setLink } from './downloads.js';

const kSvg = 'http://www.w3.org/2000/svg';
const kUtf8 = new TextDecoder('utf-8');  // drops the byte order mark
const kBarHeight = 60;
// A part narrower than this share of the bar shows its mass in the list only.
const kLabelledShare = 0.05;

const section = document.getElementById('memorial-section');
const text = document.getElementById('memorial');
const link = document.getElementById('memorial-download');
const jsonLink = document.getElementById('memorial-json-download');
const figure = document.getElementById('composition');

function svgElement(name, attributes) {
  const element = document.createElementNS(kSvg, name);
  for (const [key, value] of Object.entries(attributes)) element.setAttribute(key, String(value));
  return element;
}

// A figure as the memo shows it: the program's text, never a number the
// page rounds itself.
function figureOf(figure, unit) {
  return `${figure.texto} ${unit}`;
}

// The key figures of a design, named as the page lists them, and where the
// memo's JSON keeps each (its text as the memo shows it).
const kKeyFigures = [['fc28', 'fc28'], ['a/c', 'relacao_ac'], ['cimento', 'consumo_cimento']];
const kUnitShown = { '-': '', 1: '', '1': '', 'kg/m3': 'kg/m³' };

function memoJson(files) {
  const json = files.find((file) => file.name.endsWith('-memorial.json'));
  try {
    return json === undefined ? null : JSON.parse(kUtf8.decode(json.bytes));
  } catch {
    return null;
  }
}

// The texts of the memo's alerts, in its order.
export function memoAlerts(files) {
  const alerts = memoJson(files)?.alertas;
  return Array.isArray(alerts) ? alerts.filter((alert) => typeof alert?.texto === 'string').map((alert) => alert.texto) : [];
}

// [{nome, texto}] for the key figures the finished run's memo holds.
export function keyFigures(files) {
  const results = memoJson(files)?.resultados ?? {};
  return kKeyFigures.filter(([, key]) => typeof results[key]?.texto === 'string').map(([nome, key]) => {
    const unit = kUnitShown[results[key].unidade] ?? results[key].unidade ?? '';
    return { nome, texto: unit ? `${results[key].texto} ${unit}` : results[key].texto };
  });
}

// The parts of one cubic metre whose volume and mass are numbers, or null.
function partsOf(json) {
  try {
    const parts = json.composicao_m3;
    if (!Array.isArray(parts)) return null;
    const drawn = parts.filter((part) => Number.isFinite(part?.volume?.valor) && part.volume.valor >= 0
      && typeof part.volume.texto === 'string' && typeof part?.massa?.texto === 'string'
      && typeof part.nome === 'string');
    return drawn.length > 0 ? drawn : null;
  } catch {
    return null;
  }
}

function drawComposition(parts) {
  const width = parts.reduce((sum, part) => sum + part.volume.valor, 0) || 1;
  const bar = svgElement('svg', {
    viewBox: `0 0 ${width} ${kBarHeight}`, preserveAspectRatio: 'none', role: 'img',
    'aria-label': 'Barra dos volumes absolutos de 1 m³ de concreto; os valores estão na lista abaixo.',
  });
  const list = document.createElement('ul');
  list.className = 'composition-list';
  let x = 0;
  parts.forEach((part, index) => {
    const kind = `part-${index % 8}`;
    const rect = svgElement('rect', { x, y: 0, width: part.volume.valor, height: kBarHeight, class: kind });
    bar.append(rect);
    const item = document.createElement('li');
    const swatch = document.createElement('span');
    swatch.className = `swatch ${kind}`;
    const name = document.createElement('strong');
    name.textContent = part.nome;
    item.append(swatch, name, ` — ${figureOf(part.volume, 'dm³')} — ${figureOf(part.massa, 'kg')}`);
    list.append(item);
    x += part.volume.valor;
  });
  // Masses written over the parts wide enough to hold them, as HTML laid on
  // the bar (SVG text would stretch with the bar). A mass wider than its
  // part is not shown there (the style sheet hides it); the list holds all.
  const masses = document.createElement('div');
  masses.className = 'composition-masses';
  masses.setAttribute('aria-hidden', 'true');
  let start = 0;
  for (const part of parts) {
    if (part.volume.valor / width >= kLabelledShare) {
      const mass = document.createElement('span');
      mass.textContent = figureOf(part.massa, 'kg');
      mass.style.left = `${(100 * start) / width}%`;
      mass.style.width = `${(100 * part.volume.valor) / width}%`;
      masses.append(mass);
    }
    start += part.volume.valor;
  }
  const drawing = document.createElement('div');
  drawing.className = 'composition-bar';
  drawing.append(bar, masses);
  figure.querySelector('figcaption').after(drawing, list);
}

// A table row: text, two or more blanks, then a figure or a heading.
const kTableRow = /\S {2,}\S/;

// The memo's text as written; runs of table rows are kept apart so that a
// wrapped view wraps the prose and keeps the tables' columns.
function showMemoText(memoText) {
  const lines = memoText.split(/(?<=\n)/);
  const parts = [];
  let rows = null;
  for (const line of lines) {
    if (kTableRow.test(line)) {
      if (rows === null) {
        rows = document.createElement('span');
        rows.className = 'table-rows';
        // It scrolls sideways on a narrow screen: reachable from the keyboard.
        rows.tabIndex = 0;
        rows.setAttribute('role', 'group');
        rows.setAttribute('aria-label', 'Tabela do memorial');
        parts.push(rows);
      }
      rows.append(line);
    } else {
      rows = null;
      parts.push(line);
    }
  }
  text.replaceChildren(...parts);
}

// `files`: the files the finished run wrote after its report.
export function showMemorial(files) {
  const memo = files.find((file) => file.name.endsWith('-memorial.txt'));
  section.hidden = memo === undefined;
  for (const old of figure.querySelectorAll('.composition-bar, .composition-list')) old.remove();
  figure.hidden = true;
  const json = files.find((file) => file.name.endsWith('-memorial.json'));
  setLink(jsonLink, json?.bytes ?? null, json?.name, 'application/json');
  jsonLink.hidden = json === undefined;
  if (memo === undefined) {
    setLink(link, null);
    return;
  }
  showMemoText(kUtf8.decode(memo.bytes).replace(/\r\n/g, '\n'));
  setLink(link, memo.bytes, memo.name);
  link.textContent = 'Baixar memorial';
  const parts = partsOf(memoJson(files));
  if (parts !== null) {
    drawComposition(parts);
    figure.hidden = false;
  }
}
