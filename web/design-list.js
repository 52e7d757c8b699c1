// Meus traços on the page: each kept design with its name, the date it last
// changed and its key figures as the program wrote them, and the buttons to
// reopen, rename or delete it. The design the page shows is marked.

const section = document.getElementById('designs-section');
const list = document.getElementById('design-list');
const kWhen = { dateStyle: 'short', timeStyle: 'short' };

export function designName(design) {
  return design.nome || design.relatorio || 'Traço sem nome';
}

function button(text, name, action) {
  const control = document.createElement('button');
  control.type = 'button';
  control.textContent = text;
  control.setAttribute('aria-label', `${text} ${name}`);
  control.addEventListener('click', action);
  return control;
}

// `actions`: {open, rename, remove}, each called with the design.
export function showDesigns(designs, currentId, actions) {
  list.replaceChildren(...designs.map((design) => {
    const item = document.createElement('li');
    const name = document.createElement('strong');
    name.textContent = designName(design);
    const when = document.createElement('span');
    when.className = 'when';
    when.textContent = new Date(design.data).toLocaleString('pt-BR', kWhen);
    const figures = document.createElement('span');
    figures.className = 'figures';
    figures.textContent = (design.figuras ?? []).map((figure) => `${figure.nome} ${figure.texto}`).join(' · ');
    const buttons = document.createElement('div');
    buttons.className = 'actions';
    buttons.append(button('Abrir', designName(design), () => actions.open(design)),
      button('Renomear', designName(design), () => actions.rename(design)),
      button('Excluir', designName(design), () => actions.remove(design)));
    item.append(name, when, figures, buttons);
    if (design.id === currentId) {
      item.setAttribute('aria-current', 'true');
      name.append(' (aberto)');
    }
    return item;
  }));
  section.hidden = designs.length === 0;
}
