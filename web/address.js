// The design as text: the answer lines, each as its program bytes, written
// into the page address's fragment ("#respostas=relatorio.txt/25/4/…") and
// into the browser's own storage, so that a reload, another tab or another
// device brings back the same answers. Nothing of it is sent to a server.

const kKey = 'respostas';
const kStorageKey = 'dosmo.respostas';
// Bytes that stand as themselves in the fragment; every other byte (the
// slash between answers among them) is written as %XX.
const kPlain = /[A-Za-z0-9\-._~,+*!:@]/;

function encodeLine(bytes) {
  let text = '';
  for (const byte of bytes) {
    const character = String.fromCharCode(byte);
    text += byte < 0x80 && kPlain.test(character) ? character : `%${byte.toString(16).toUpperCase().padStart(2, '0')}`;
  }
  return text;
}

// Characters above one byte (typed into the address by hand) become '?'.
function decodeLine(text) {
  const bytes = [];
  for (let at = 0; at < text.length; at++) {
    const escaped = text[at] === '%' ? /^[0-9a-fA-F]{2}$/.exec(text.slice(at + 1, at + 3)) : null;
    if (escaped) {
      bytes.push(parseInt(escaped[0], 16));
      at += 2;
    } else {
      const code = text.charCodeAt(at);
      bytes.push(code < 0x100 ? code : 0x3f);
    }
  }
  return Uint8Array.from(bytes);
}

// "respostas=…" for the lines (byte arrays); empty for no answer at all.
export function designText(lines) {
  return lines.length === 0 ? '' : `${kKey}=${lines.map(encodeLine).join('/')}`;
}

// The lines a fragment or a stored text holds, or null if it holds none.
export function linesOfDesign(text) {
  const body = text.replace(/^#/, '');
  if (!body.startsWith(`${kKey}=`)) return null;
  return body.slice(kKey.length + 1).split('/').map(decodeLine);
}

export function storedDesign() {
  try {
    return localStorage.getItem(kStorageKey) ?? '';
  } catch {
    return '';  // storage refused (a private window may refuse it)
  }
}

// The address and the storage both follow the design; the address changes
// in place, so the browser's Back still leaves the page.
export function keepDesign(text) {
  try {
    if (text) localStorage.setItem(kStorageKey, text);
    else localStorage.removeItem(kStorageKey);
  } catch {
    // Without storage the address alone keeps the design.
  }
  const url = new URL(location.href);
  url.hash = text;
  if (url.href !== location.href) history.replaceState(history.state, '', text ? url.href : url.href.replace(/#$/, ''));
}
