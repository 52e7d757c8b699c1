// Respostas: one field per answer the program read, with a short label of
// its own beside the question's text, where an answer is changed. A field
// edited but not yet applied (Enter applies, Esc puts back the answer in
// use) is marked; after an applied change the changed key figures are
// said next to it, with a link to the report. The fields are kept across
// runs so the one being edited keeps its focus.
import { questionLabel } from './question-labels.js';

const kPendingText = 'Ainda não aplicada: Enter aplica, Esc desfaz.';

function element(tag, className, text = '') {
  const made = document.createElement(tag);
  made.className = className;
  made.textContent = text;
  return made;
}

function newItem(list, position) {
  const id = `resposta-${position + 1}`;
  const item = document.createElement('li');
  const short = element('span', 'short');
  const label = element('label', 'question');
  const field = document.createElement('input');
  const pending = element('p', 'pending', kPendingText);
  const note = element('p', 'change-note');
  short.id = `${id}-curto`;
  label.id = `${id}-pergunta`;
  pending.id = `${id}-pendente`;
  label.htmlFor = field.id = id;
  Object.assign(field, { type: 'text', autocomplete: 'off', spellcheck: false, enterKeyHint: 'done' });
  field.setAttribute('autocapitalize', 'off');
  field.setAttribute('aria-labelledby', `${short.id} ${label.id}`);
  pending.hidden = true;
  note.setAttribute('role', 'status');
  field.addEventListener('input', () => markPending(field));
  item.append(short, label, field, pending, note);
  list.append(item);
  return item;
}

function markPending(field) {
  const pending = field.value !== field.dataset.text;
  const item = field.closest('li');
  item.classList.toggle('pending', pending);
  item.querySelector('.pending').hidden = !pending;
  if (pending) field.setAttribute('aria-describedby', item.querySelector('.pending').id);
  else field.removeAttribute('aria-describedby');
}

// `steps`: every answer line with its place and question (at null: a line
// the program never came to read).
export function showAnswers(section, list, steps) {
  const read = [];
  steps.forEach((step, index) => {
    if (step.at !== null) read.push({ step, index });
  });
  while (list.children.length > read.length) list.lastChild.remove();
  read.forEach(({ step, index }, position) => {
    const item = list.children[position] ?? newItem(list, position);
    const [short, label, field] = item.children;
    const { label: shortLabel, numeric } = questionLabel(step.question);
    // A blank line answers nothing: the program passes over it.
    short.textContent = step.text.trim() === '' ? 'Linha em branco' : shortLabel ?? `Resposta ${position + 1}`;
    label.textContent = step.question || 'Resposta sem pergunta na tela';
    field.inputMode = numeric ? 'decimal' : 'text';
    if (field.dataset.index !== String(index)) item.querySelector('.change-note').replaceChildren();
    field.dataset.index = String(index);
    if (field.dataset.text !== step.text || document.activeElement !== field) {
      field.value = step.text;
      field.dataset.text = step.text;
    }
    markPending(field);
  });
  section.hidden = read.length === 0;
}

// The field of Respostas an event happened in, or null.
export function answerField(event) {
  return event.target.tagName === 'INPUT' && event.target.dataset.index !== undefined ? event.target : null;
}

// The field of the answer at `index` of the steps, or undefined.
export function fieldOf(list, index) {
  return list.querySelector(`input[data-index="${index}"]`) ?? undefined;
}

// Says next to the field what an applied change did (the key figures that
// changed), with a button to the report when there is one (`toReport`).
export function announceChange(field, text, toReport) {
  const note = field.closest('li').querySelector('.change-note');
  const parts = [text];
  if (toReport) {
    const go = element('button', 'to-report', 'Ver o relatório');
    go.type = 'button';
    go.addEventListener('click', toReport);
    parts.push(' ', go);
  }
  note.replaceChildren(...parts);
}

// The short label of the answer at `index`, for advice that points to it.
export function shortLabelOf(steps, index) {
  return questionLabel(steps[index]?.question).label ?? `resposta ${index + 1}`;
}
