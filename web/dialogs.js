// The page's two questions of its own, asked in modal dialogs: the decimal
// comma of an answer (the program reads a comma as a separator) and the
// confirmation before Recomeçar forgets the answers.

const kNumberWithComma = /^\s*[+-]?(?:\d+,\d+|,\d+)\s*$/;

// Shows the dialog; resolves to the value of the button pressed, or null when
// it is closed without one (Esc).
function choose(dialog) {
  dialog.returnValue = '';
  dialog.showModal();
  return new Promise((resolve) => {
    dialog.addEventListener('close', () => resolve(dialog.returnValue || null), { once: true });
  });
}

export function prepareDialogs() {
  for (const button of document.querySelectorAll('dialog button[value]')) {
    button.addEventListener('click', () => button.closest('dialog').close(button.value));
  }
}

export function hasDecimalComma(text) {
  return kNumberWithComma.test(text);
}

export function withPoint(text) {
  return text.replace(',', '.');
}

// For an answer, or for the lines of an opened file that hold a number
// written with a comma: 'point', 'typed', or null (not sent).
export async function chooseDecimalPoint(texts) {
  const dialog = document.getElementById('comma-dialog');
  const point = document.getElementById('comma-point');
  const [first] = texts;
  dialog.querySelector('.comma-example').textContent = first.trim();
  dialog.querySelector('.comma-count').textContent = texts.length === 1
    ? ''
    : `O arquivo tem ${texts.length} respostas assim; a escolha vale para todas.`;
  point.textContent = texts.length === 1 ? `Enviar ${withPoint(first.trim())}` : 'Enviar com ponto';
  return choose(dialog);
}

export async function confirmRestart() {
  return await choose(document.getElementById('restart-dialog')) === 'forget';
}
