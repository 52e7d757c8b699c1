// The design as text: the answer lines, each as its program bytes, written
// into the page address's fragment ("#respostas=relatorio.txt/25/4/…") and
// kept in the browser's list of designs, so that a reload, another tab or
// another device brings back the same answers. Nothing of it is sent to a
// server.

const kKey = 'respostas';
const kFollowingKey = 'seguintes';
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

// "respostas=…" for the lines (byte arrays), with "&seguintes=…" for the
// answers kept for the questions after them (taken back by Voltar); empty
// for no answer at all.
export function designText(lines, following = []) {
  if (lines.length === 0 && following.length === 0) return '';
  const kept = following.length === 0 ? '' : `&${kFollowingKey}=${following.map(encodeLine).join('/')}`;
  return `${kKey}=${lines.map(encodeLine).join('/')}${kept}`;
}

function linesOf(text) {
  return text === '' ? [] : text.split('/').map(decodeLine);
}

// The lines a fragment or a stored text holds ({answers, following}), or
// null if it holds none.
export function designOf(text) {
  const body = text.replace(/^#/, '');
  if (!body.startsWith(`${kKey}=`)) return null;
  const [answers, following = ''] = body.slice(kKey.length + 1).split(`&${kFollowingKey}=`);
  return { answers: answers === '' && following !== '' ? [] : answers.split('/').map(decodeLine), following: linesOf(following) };
}

// The address follows the design; it changes in place, so the browser's
// Back still leaves the page.
export function showInAddress(text) {
  const url = new URL(location.href);
  url.hash = text;
  if (url.href !== location.href) history.replaceState(history.state, '', text ? url.href : url.href.replace(/#$/, ''));
}

// The design text an address holds ('' for none).
export function addressDesign() {
  return location.hash.replace(/^#/, '');
}
