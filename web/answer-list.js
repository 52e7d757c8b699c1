// Respostas: one field per answer the program read, labelled with its
// question, where an answer is changed. The fields are kept across runs so
// the one being edited keeps its focus.

function newItem(list, position) {
  const item = document.createElement('li');
  const label = document.createElement('label');
  const field = document.createElement('input');
  label.htmlFor = field.id = `resposta-${position + 1}`;
  Object.assign(field, { type: 'text', autocomplete: 'off', spellcheck: false, enterKeyHint: 'send' });
  field.setAttribute('autocapitalize', 'off');
  item.append(label, field);
  list.append(item);
  return item;
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
    const [label, field] = item.children;
    label.textContent = step.question || 'Resposta sem pergunta na tela';
    field.dataset.index = String(index);
    if (field.dataset.text !== step.text || document.activeElement !== field) {
      field.value = step.text;
      field.dataset.text = step.text;
    }
  });
  section.hidden = read.length === 0;
}

// The field of Respostas an event happened in, or null.
export function answerField(event) {
  return event.target.tagName === 'INPUT' && event.target.dataset.index !== undefined ? event.target : null;
}
