// Runs dosmo.wasm once under WASI in the browser: the answers so far are its
// redirected standard input (more may be given each time it has read them
// all), its standard output and error are captured as bytes, and the report
// is written into a fresh in-memory folder that is the only one it can see.
// The library's modules are named one by one, so the page loads only these.
import WASI from './vendor/browser_wasi_shim/wasi.js';
import { Fd } from './vendor/browser_wasi_shim/fd.js';
import { File, OpenFile, PreopenDirectory } from './vendor/browser_wasi_shim/fs_mem.js';
import * as wasiDefs from './vendor/browser_wasi_shim/wasi_defs.js';
import { decode } from './cp1252.js';

// At a normal end the program writes its calculation memo beside the report.
const kArguments = ['dosmo', '--memorial'];
const kFolderName = '.';
// A console read at end of input: the question the page waits to answer.
// (End of input elsewhere, as at the prompt for a blank report name, which
// reads past the answers taken already, is an error that no answer mends.)
const kEndOfInputAtQuestion = 'F6501: READ(CON)';

// Compiles the module while it downloads (`fetching`: the fetch of
// dosmo.wasm); a server that does not label it application/wasm costs only
// the overlap.
export async function loadProgram(fetching) {
  const response = await fetching;
  if (!response.ok) throw new Error(`${response.url}: ${response.status}`);
  const copy = response.clone();
  try {
    return await WebAssembly.compileStreaming(response);
  } catch {
    return WebAssembly.compile(await copy.arrayBuffer());
  }
}

// Standard input read from an answer file; notes whether the program asked
// for more than the file holds. `more`, if given, is asked for the next bytes
// each time the program has read all it holds and reads again (null: the
// input ends there, for good).
class AnswerInput extends OpenFile {
  constructor(bytes, more) {
    super(new File(bytes, { readonly: true }));
    this.more = more;
    this.reachedEnd = false;
  }

  fd_read(size) {
    if (size > 0 && this.more !== null && this.file_pos >= this.file.size) this.takeMore();
    const got = super.fd_read(size);
    if (got.ret === wasiDefs.ERRNO_SUCCESS && got.data.length === 0 && size > 0) {
      this.reachedEnd = true;
    }
    return got;
  }

  takeMore() {
    const next = this.more();
    if (next === null) {
      this.more = null;
      return;
    }
    const grown = new Uint8Array(this.file.data.length + next.length);
    grown.set(this.file.data);
    grown.set(next, this.file.data.length);
    this.file.data = grown;
  }
}

// Standard output or error redirected to a file: every byte is kept as it is.
class CapturedOutput extends Fd {
  constructor() {
    super();
    this.chunks = [];
  }

  fd_write(data) {
    this.chunks.push(data.slice());
    return { ret: wasiDefs.ERRNO_SUCCESS, nwritten: data.length };
  }

  fd_fdstat_get() {
    return { ret: wasiDefs.ERRNO_SUCCESS, fdstat: new wasiDefs.Fdstat(wasiDefs.FILETYPE_REGULAR_FILE, 0) };
  }

  fd_filestat_get() {
    const size = this.chunks.reduce((total, chunk) => total + chunk.length, 0);
    return { ret: wasiDefs.ERRNO_SUCCESS, filestat: new wasiDefs.Filestat(0n, wasiDefs.FILETYPE_REGULAR_FILE, BigInt(size)) };
  }

  bytes() {
    const all = new Uint8Array(this.chunks.reduce((total, chunk) => total + chunk.length, 0));
    let at = 0;
    for (const chunk of this.chunks) {
      all.set(chunk, at);
      at += chunk.length;
    }
    return all;
  }
}

// The plain files the run left in its folder (the report), by name.
function filesOf(folder) {
  const files = [];
  for (const [name, entry] of folder.dir.contents) {
    if (entry instanceof File) files.push({ name, bytes: entry.data.slice() });
  }
  return files;
}

const kLineEnd = Uint8Array.of(0x0d, 0x0a);

// The output so far as a run whose input ended here would leave it: a
// program reading again has written its question, and its end closes the
// question's open line with CR LF.
function outputEndingHere(output) {
  const bytes = output.bytes();
  if (bytes.length === 0) return bytes;
  const ended = new Uint8Array(bytes.length + kLineEnd.length);
  ended.set(bytes);
  ended.set(kLineEnd, bytes.length);
  return ended;
}

// Each run has an instance of its own (a run leaves its memory behind). The
// next run's is made while the page waits for the user, so that a run starts
// at once; the instance's WASI calls go to the host of the run it serves.
const spares = new WeakMap();  // program -> promise of { instance, binding }

function newInstance(program) {
  const binding = { host: null };
  const imports = {};
  for (const { module, name, kind } of WebAssembly.Module.imports(program)) {
    if (kind === 'function') (imports[module] ??= {})[name] = (...args) => binding.host.wasiImport[name](...args);
  }
  return WebAssembly.instantiate(program, imports).then((instance) => ({ instance, binding }));
}

function takeInstance(program) {
  const spare = spares.get(program) ?? newInstance(program);
  spares.delete(program);
  return spare;
}

// Where the host draws frames, the spare is made once the run's screen is
// drawn, not while it is.
function prepareInstance(program) {
  if (typeof requestAnimationFrame !== 'function') return;
  requestAnimationFrame(() => setTimeout(() => {
    if (!spares.has(program)) spares.set(program, newInstance(program));
  }));
}

// One whole run. `ending` tells how it ended: 'finished' (status 0),
// 'waiting' (it stopped at end of input: the next question awaits an answer),
// 'failed' (a run-time error report) or 'crashed' (the module itself trapped).
// `options`: more words for its command line (the memo's --volume and --perda).
// `next`, if given, answers the questions asked after the input: it is called
// with the output as a run ending at that question would leave it, and
// returns the bytes of the next answer, or null to end the input there. One
// run so answers question after question as runs on ever longer inputs would.
export async function runProgram(program, inputBytes, options = [], next = null) {
  const output = new CapturedOutput();
  const input = new AnswerInput(inputBytes, next && (() => next(outputEndingHere(output))));
  const errors = new CapturedOutput();
  const folder = new PreopenDirectory(kFolderName, new Map());
  const host = new WASI([...kArguments, ...options], [], [input, output, errors, folder], { debug: false });
  const { instance, binding } = await takeInstance(program);
  binding.host = host;
  let status = null;
  let trap = null;
  try {
    status = host.start(instance);
  } catch (error) {
    trap = String(error);
  }
  prepareInstance(program);
  const stderr = errors.bytes();
  return {
    status,
    trap,
    stdout: output.bytes(),
    stderr,
    files: filesOf(folder),
    ending: endingOf(status, input.reachedEnd, stderr),
  };
}

function endingOf(status, reachedEnd, stderr) {
  if (status === null) return 'crashed';
  if (status === 0) return 'finished';
  const endOfInput = decode(stderr).includes(kEndOfInputAtQuestion);
  return reachedEnd && endOfInput ? 'waiting' : 'failed';
}
