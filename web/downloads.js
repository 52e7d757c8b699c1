// A download link for bytes the program wrote: the link saves exactly those
// bytes under the given name, and stands disabled while there are none.

export function setLink(link, bytes, name, type = 'text/plain') {
  if (link.href) URL.revokeObjectURL(link.href);
  if (bytes === null) {
    link.removeAttribute('href');
    link.setAttribute('aria-disabled', 'true');
    return;
  }
  link.href = URL.createObjectURL(new Blob([bytes], { type }));
  link.download = name;
  link.removeAttribute('aria-disabled');
}
