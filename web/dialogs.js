// The page's questions of its own, asked in modal dialogs: the decimal comma
// of an answer (the program reads a comma as a separator), the confirmation
// before Recomeçar forgets the answers, and a design's new name or its
// deletion. While one is open every key goes to it; the comma dialog takes
// no choice from Enter alone, so answers typed ahead stay out of it and out
// of the questions after it.

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
  document.getElementById('rename-name').addEventListener('keydown', (event) => {
    if (event.key !== 'Enter') return;
    // Its default would press the button that gets the focus back.
    event.preventDefault();
    document.getElementById('rename-dialog').close('rename');
  });
}

// For the numbers written with a comma (one answer, or every such line of a
// file or a link), with the label of the button that sends them with a
// point: 'point', 'typed', or null (not sent).
export async function chooseDecimalPoint(texts, pointLabel) {
  const dialog = document.getElementById('comma-dialog');
  const point = document.getElementById('comma-point');
  const [first] = texts;
  dialog.querySelector('.comma-example').textContent = first;
  dialog.querySelector('.comma-count').textContent = texts.length === 1
    ? ''
    : `Há ${texts.length} respostas assim; a escolha vale para todas.`;
  point.textContent = pointLabel;
  return choose(dialog);
}

export async function confirmRestart() {
  return await choose(document.getElementById('restart-dialog')) === 'forget';
}

// The design's new name, or null when it keeps its name.
export async function askDesignName(name) {
  const field = document.getElementById('rename-name');
  field.value = name;
  const choice = choose(document.getElementById('rename-dialog'));
  field.select();
  return await choice === 'rename' && field.value.trim() !== '' ? field.value.trim() : null;
}

export async function confirmDelete(name) {
  document.getElementById('delete-name').textContent = name;
  return await choose(document.getElementById('delete-dialog')) === 'delete';
}
