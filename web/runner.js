// Runs dosmo.wasm once under WASI in the browser: the answers so far are its
// redirected standard input, its standard output and error are captured as
// bytes, and the report is written into a fresh in-memory folder that is the
// only one the program can see.
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

// Compiles the module while it downloads; a server that does not label it
// application/wasm costs only the overlap.
export async function loadProgram(url) {
  const response = await fetch(url);
  if (!response.ok) throw new Error(`${url}: ${response.status}`);
  const copy = response.clone();
  try {
    return await WebAssembly.compileStreaming(response);
  } catch {
    return WebAssembly.compile(await copy.arrayBuffer());
  }
}

// Standard input read from an answer file; notes whether the program asked
// for more than the file holds.
class AnswerInput extends OpenFile {
  constructor(bytes) {
    super(new File(bytes, { readonly: true }));
    this.reachedEnd = false;
  }

  fd_read(size) {
    const got = super.fd_read(size);
    if (got.ret === wasiDefs.ERRNO_SUCCESS && got.data.length === 0 && size > 0) {
      this.reachedEnd = true;
    }
    return got;
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

// One whole run. `ending` tells how it ended: 'finished' (status 0),
// 'waiting' (it stopped at end of input: the next question awaits an answer),
// 'failed' (a run-time error report) or 'crashed' (the module itself trapped).
// `options`: more words for its command line (the memo's --volume and --perda).
export async function runProgram(program, inputBytes, options = []) {
  const input = new AnswerInput(inputBytes);
  const output = new CapturedOutput();
  const errors = new CapturedOutput();
  const folder = new PreopenDirectory(kFolderName, new Map());
  const host = new WASI([...kArguments, ...options], [], [input, output, errors, folder], { debug: false });
  const instance = await WebAssembly.instantiate(program, { wasi_snapshot_preview1: host.wasiImport });
  let status = null;
  let trap = null;
  try {
    status = host.start(instance);
  } catch (error) {
    trap = String(error);
  }
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
