// Meus traços: the designs kept in this browser's storage, newest first, each
// {id, texto (the design text), data (when last changed), nome (given by the
// user), relatorio (the report's name), figuras (key figures as the program
// wrote them)}. A design opened from a link or a file is added, never written
// over another; the tab remembers which design it shows.
const kListKey = 'dosmo.tracos';
const kOldKey = 'dosmo.respostas';  // the one design earlier versions kept
const kCurrentKey = 'dosmo.atual';
const kMostDesigns = 50;

function stored(storage, key) {
  try {
    return storage.getItem(key);
  } catch {
    return null;  // storage refused (a private window may refuse it)
  }
}

function store(storage, key, value) {
  try {
    if (value === null) storage.removeItem(key);
    else storage.setItem(key, value);
  } catch {
    // Without storage the address alone keeps the design.
  }
}

function isDesign(entry) {
  return typeof entry?.id === 'string' && typeof entry.texto === 'string' && Number.isFinite(entry.data);
}

function read() {
  try {
    const list = JSON.parse(stored(localStorage, kListKey) ?? '[]');
    if (Array.isArray(list)) return list.filter(isDesign);
  } catch {
    // A list no longer readable starts again.
  }
  return [];
}

function write(list) {
  list.sort((a, b) => b.data - a.data);
  store(localStorage, kListKey, JSON.stringify(list.slice(0, kMostDesigns)));
}

// Newest first; the design an earlier version kept joins the list once.
export function storedDesigns() {
  const list = read();
  const old = stored(localStorage, kOldKey);
  if (old) {
    if (!list.some((entry) => entry.texto === old)) list.push({ id: newId(), texto: old, data: Date.now() });
    write(list);
    store(localStorage, kOldKey, null);
  }
  return read();
}

function newId() {
  return `${Date.now().toString(36)}-${Math.random().toString(36).slice(2, 8)}`;
}

export function designById(id) {
  return storedDesigns().find((entry) => entry.id === id);
}

// The design with this text (reused rather than kept twice), or a new one.
export function addDesign(texto) {
  const same = storedDesigns().find((entry) => entry.texto === texto);
  if (same) return same.id;
  const id = newId();
  write([{ id, texto, data: Date.now() }, ...read()]);
  return id;
}

// Changes a design; a changed text makes it the newest.
export function updateDesign(id, changes) {
  const list = read();
  const entry = list.find((item) => item.id === id);
  if (entry === undefined) return;
  if (changes.texto !== undefined && changes.texto !== entry.texto) entry.data = Date.now();
  Object.assign(entry, changes);
  write(list);
}

export function deleteDesign(id) {
  write(read().filter((entry) => entry.id !== id));
}

export function currentDesign() {
  return stored(sessionStorage, kCurrentKey);
}

export function setCurrentDesign(id) {
  store(sessionStorage, kCurrentKey, id);
}
