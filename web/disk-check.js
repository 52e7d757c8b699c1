// Opened from disk (file://), a browser loads neither the page's modules nor
// the program: the page says at once that it needs a web server and shows
// the command, and no control waits for a program that cannot come. A
// classic script, as modules are the very thing that does not load there.
function fromDisk() {
  const folder = decodeURIComponent(location.pathname.replace(/\/[^/]*$/, '')) || '.';
  const status = document.getElementById('status');
  const command = document.createElement('code');
  command.textContent = `python3 -m http.server 8000 --bind 127.0.0.1 --directory '${folder}'`;
  const address = document.createElement('code');
  address.textContent = 'http://127.0.0.1:8000/';
  status.replaceChildren(
    'Aberta direto do disco, a página não consegue carregar o programa: ela precisa ser servida por um servidor web. ',
    'Num terminal, rode ', command, ' e abra ', address, ' no navegador.');
  status.classList.add('from-disk');
  document.getElementById('console').replaceChildren();  // no question waits here
}

if (location.protocol === 'file:') {
  if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', fromDisk);
  else fromDisk();
}
