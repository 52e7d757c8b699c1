// Prints the size of a WebAssembly module without its debug sections (the
// .debug_* sections and the name section), and the median time of one whole
// run of the module under Node's WASI once it is compiled: a new instance
// started on the answer file, in a fresh folder, with its output discarded.
// Usage: node --no-warnings scripts/wasm-measure.mjs MODULE.wasm ANSWERS [runs]
import { closeSync, mkdtempSync, openSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { WASI } from 'node:wasi';

const [modulePath, answersPath, runsText = '200'] = process.argv.slice(2);
const bytes = readFileSync(modulePath);

// Walks the module's sections: an id byte, a LEB128 size and the contents;
// a custom section (id 0) starts with its name.
function debugSectionBytes(module) {
  let at = 8;  // magic number and version
  const leb = () => {
    let value = 0;
    for (let shift = 0; ; shift += 7) {
      const byte = module[at++];
      value += (byte & 0x7f) * 2 ** shift;
      if (byte < 0x80) return value;
    }
  };
  let debug = 0;
  while (at < module.length) {
    const start = at;
    const id = module[at++];
    const size = leb();
    const contents = at;
    if (id === 0) {
      const nameLength = leb();
      const name = module.subarray(at, at + nameLength).toString();
      if (name === 'name' || name.startsWith('.debug')) debug += contents + size - start;
    }
    at = contents + size;
  }
  return debug;
}

const withoutDebug = bytes.length - debugSectionBytes(bytes);
console.log(`dosmo.wasm: ${withoutDebug} bytes (${(withoutDebug / 1024).toFixed(1)} KiB) ` +
            `without debug sections, ${bytes.length} bytes as built`);

const module = await WebAssembly.compile(bytes);
const nullDevice = openSync('/dev/null', 'w');
const folder = mkdtempSync(join(tmpdir(), 'dosmo-wasm-'));

// One whole run: a new instance (with the WASI imports) and its start to its
// end. Only these are timed; the instance and the run are also told apart.
async function timedRun(index) {
  const runFolder = mkdtempSync(join(folder, `${index}-`));
  const answers = openSync(answersPath, 'r');
  const wasi = new WASI({
    version: 'preview1', args: ['dosmo'], env: {}, preopens: { '.': runFolder },
    stdin: answers, stdout: nullDevice, stderr: nullDevice, returnOnExit: true,
  });
  const begin = process.hrtime.bigint();
  const instance = await WebAssembly.instantiate(module, wasi.getImportObject());
  const started = process.hrtime.bigint();
  const status = wasi.start(instance);
  const end = process.hrtime.bigint();
  closeSync(answers);
  if (status !== 0) throw new Error(`run ${index} ended with status ${status}`);
  return { whole: Number(end - begin) / 1e6, instance: Number(started - begin) / 1e6,
           run: Number(end - started) / 1e6 };
}

const runs = Number(runsText);
for (let i = 0; i < 20; ++i) await timedRun(`warm${i}`);
const samples = [];
for (let i = 0; i < runs; ++i) samples.push(await timedRun(i));
const sorted = (part) => samples.map((sample) => sample[part]).sort((a, b) => a - b);
const at = (times, share) => times[Math.min(times.length - 1, Math.floor(share * times.length))];
const whole = sorted('whole');
console.log(`worked example under Node's WASI, ${runs} runs once compiled: median ` +
            `${at(whole, 0.5).toFixed(3)} ms (fastest ${whole[0].toFixed(3)} ms, ` +
            `90% within ${at(whole, 0.9).toFixed(3)} ms); of which the instance median ` +
            `${at(sorted('instance'), 0.5).toFixed(3)} ms and the run median ` +
            `${at(sorted('run'), 0.5).toFixed(3)} ms`);
closeSync(nullDevice);
rmSync(folder, { recursive: true, force: true });
