// Runs dosmo.wasm under Node's WASI as a program of its own: the current
// folder is the one folder the program may use (its report goes there, and a
// name outside it is refused), the command-line arguments after the module
// are the program's, standard input, output and error are the process's own,
// and the program's exit status is the process's.
// Usage: node --no-warnings scripts/wasi-run.mjs build-wasm/dosmo.wasm [argument...] < answers.txt
import { readFile } from 'node:fs/promises';
import { WASI } from 'node:wasi';

const [modulePath, ...programArguments] = process.argv.slice(2);
if (!modulePath) {
  process.stderr.write('usage: node --no-warnings wasi-run.mjs MODULE.wasm [argument...]\n');
  process.exit(2);
}

const wasi = new WASI({
  version: 'preview1',
  args: ['dosmo', ...programArguments],
  env: process.env,
  preopens: { '.': process.cwd() },
  returnOnExit: true,
});
const module = await WebAssembly.compile(await readFile(modulePath));
const instance = await WebAssembly.instantiate(module, wasi.getImportObject());
process.exitCode = wasi.start(instance);
