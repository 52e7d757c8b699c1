// Sharing the page's address, which carries the answers: the phone's share
// sheet where there is one; elsewhere the address is copied, or shown to be
// copied by hand. Returns what to tell the user, or null.
export async function shareAddress() {
  const url = location.href;
  if (navigator.share) {
    try {
      await navigator.share({ title: document.title, url });
      return null;
    } catch (error) {
      if (error.name === 'AbortError') return null;
    }
  }
  try {
    await navigator.clipboard.writeText(url);
    return 'Endereço copiado: aberto em outro aparelho, ele traz estas respostas e este relatório.';
  } catch {
    return `Copie este endereço para abrir estas respostas em outro aparelho: ${url}`;
  }
}
