// The calculation memo the program writes beside its report at a normal end
// (<name>-memorial.txt, UTF-8 with CR LF, and <name>-memorial.json): its text
// as written, its download with the exact bytes, and the composition of one
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

// A mass shows on its part only where it fits; the list holds them all.
function fitMasses() {
  for (const mass of figure.querySelectorAll('.composition-masses span')) {
    mass.hidden = false;
    mass.hidden = mass.scrollWidth > mass.clientWidth;
  }
}
new ResizeObserver(fitMasses).observe(figure);

// The parts of one cubic metre whose volume and mass are numbers, or null.
function partsOf(jsonBytes) {
  try {
    const parts = JSON.parse(kUtf8.decode(jsonBytes)).composicao_m3;
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
  // the bar (SVG text would stretch with the bar).
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

// `files`: the files the finished run wrote after its report.
export function showMemorial(files) {
  const memo = files.find((file) => file.name.endsWith('-memorial.txt'));
  const json = files.find((file) => file.name.endsWith('-memorial.json'));
  section.hidden = memo === undefined;
  for (const old of figure.querySelectorAll('.composition-bar, .composition-list')) old.remove();
  figure.hidden = true;
  if (memo === undefined) {
    setLink(link, null);
    return;
  }
  text.textContent = kUtf8.decode(memo.bytes).replace(/\r\n/g, '\n');
  setLink(link, memo.bytes, memo.name);
  link.textContent = 'Baixar memorial';
  const parts = json === undefined ? null : partsOf(json.bytes);
  if (parts !== null) {
    drawComposition(parts);
    figure.hidden = false;
    fitMasses();
  }
}
