// The page: the description in an editor, every zoombox's picture redrawn as it changes,
// the program's messages, the bench in the address so that a link shares it.
import { createEditor } from './editor/editor.js';
import { PictureEditing } from './edit/editing.js';
import { decodeBench, encodeBench } from './fragment.js';
import { Pictures } from './pictures.js';
import { unpackRays } from './rays.js';
import { Renderer } from './renderer.js';
import { showReport } from './report.js';
// Bundled apart, with the plotting library (see src/web/CMakeLists.txt).
import { showPlots } from './plots.js';

// The address follows the description once typing pauses this long.
const kAddressDelay = 250;
// While a picture's edit is under way, the report and the plots follow at most this often,
// and at most once in this many times as long as they took to show the last time: the hand
// watches the pictures, and the plots' drawing (a tenth of a second on a bench like mixed)
// would take their frames.
const kBusyReportPace = 250;
const kBusyReportShare = 5;

const byTestId = (id) => document.querySelector(`[data-testid="${id}"]`);
const messages = byTestId('messages');
const notice = document.getElementById('notice');
const summary = document.getElementById('summary');
const activity = document.getElementById('activity');
const activityBar = activity.querySelector('progress');
const activityText = activity.querySelector('span');
const examples = document.getElementById('examples');

const bench = { description: '', name: 'default_optic.txt' };
let addressTimer = 0;
let writtenFragment = '';
let opening = false;  // a load's change: the address already says it, or is written after
const later = { result: null, timer: 0, cost: 0 };  // the report and plots held back during an edit

const editor = createEditor(document.getElementById('editor'), {
  onChange(text, { preview }) {
    editing.changed();
    bench.description = text;
    draw(preview);
    if (opening) return;
    clearTimeout(addressTimer);
    addressTimer = setTimeout(writeAddress, kAddressDelay);
  },
  onCaretLine: (line) => editing.caretLine(line),
});
const editing = new PictureEditing(editor, document.getElementById('pictures'), {
  waiting: () => renderer.queued,
  selected: (line) => pictures.designate('selection', sourceWavelength(line)),
});
const marksWavelength = document.getElementById('marks-wavelength');
const pictures = new Pictures(document.getElementById('pictures'), byTestId('coordinates'), {
  ...editing.hooks,
  released: (shown) => renderer.recycle(shown),
  marks: (wavelength) => setText(marksWavelength, wavelength === undefined
    ? 'Drawn at the middle wavelength.' : `Drawn at ${wavelength} nm.`),
});
let latest = null;  // the last run's result
const marks = document.getElementById('marks');
marks.addEventListener('change', () => {
  document.getElementById('marks-legend').hidden = !marks.checked;
  pictures.showMarks(marks.checked);
});
const renderer = new Renderer({ result: showResult, progress: showProgress, failure: showFailure });

// A picture's edit under way asks for the newest text once the run under way is done, so
// that the pictures follow it; any other edit cancels the run under way.
function draw(preview = false) {
  if (preview) renderer.follow(bench.description, bench.name);
  else renderer.render(bench.description, bench.name);
}

// Text written only when it changes: the same text written again still costs a layout.
function setText(element, text) {
  if (element.textContent !== text) element.textContent = text;
}

function say(text) {
  notice.textContent = text;
  notice.hidden = text === '';
}

let shownMessages = '[]';
function showMessages(list) {
  // A drag's runs mostly say the same: the list is made anew only when it changes.
  const key = JSON.stringify(list);
  if (key === shownMessages) return;
  shownMessages = key;
  const items = list.map(({ text, line, why }) => {
    const item = document.createElement('li');
    const message = document.createElement('span');
    message.className = 'text';
    message.textContent = text;
    item.append(message);
    if (why) {
      const explanation = document.createElement('div');
      explanation.className = 'why';
      explanation.textContent = why;
      item.append(explanation);
    }
    if (line > 0) {
      const go = document.createElement('button');
      go.type = 'button';
      go.className = 'line';
      go.textContent = `line ${line}`;
      go.title = `Go to line ${line} of the description`;
      go.addEventListener('click', () => editor.goTo(line));
      item.prepend(go);
    }
    return item;
  });
  messages.replaceChildren(...items);
}

// The wavelength a selected source line designates: its middle fan's.
function sourceWavelength(line) {
  const k = latest?.geometry?.sources.findIndex((s) => s.line === line) ?? -1;
  const fans = k < 0 ? [] : (latest.report?.fans ?? []).filter((f) => f.source === k + 1);
  return fans.length > 0 ? fans[Math.floor((fans.length - 1) / 2)].wavelength_nm : null;
}

function showResult(result) {
  editing.drawn();
  latest = result;
  // The k-th message about a line goes with the k-th diagnostic, which may explain it.
  const diagnostics = result.diagnostics[Symbol.iterator]();
  showMessages(result.messages.map(({ text, line }) => {
    const shown = text.replace(/\n$/, '');
    const why = line > 0 ? diagnostics.next().value?.message : undefined;
    return { text: shown, line, why: why && why !== shown.trimEnd() ? why : undefined };
  }));
  editor.mark(result.diagnostics);
  editing.show(result.geometry);
  pictures.show(result.pictures, result.report);
  later.result = result;
  if (!editing.busy) showReportAndPlots();
  else later.timer ||= setTimeout(showReportAndPlots, Math.max(kBusyReportPace, kBusyReportShare * later.cost));
  const count = result.pictures.length;
  setText(summary, `Exit status ${result.status}; ${count} picture${count === 1 ? '' : 's'}` +
    `; ${result.diagnostics.length} refused line${result.diagnostics.length === 1 ? '' : 's'}.`);
  summary.classList.toggle('failed', result.status !== 0);
}

function showReportAndPlots() {
  clearTimeout(later.timer);
  later.timer = 0;
  const { result } = later;
  if (!result) return;
  later.result = null;
  const start = performance.now();
  unpackRays(result.report);
  showReport(document.getElementById('report'), result.report);
  showPlots(document.getElementById('plots'), result.report, result.geometry);
  later.cost = performance.now() - start;
}

function showFailure(message) {
  editing.drawn();
  showMessages([{ text: `The engine could not finish: ${message}`, line: 0 }]);
  summary.textContent = 'No result: see the messages.';
  summary.classList.add('failed');
}

function showProgress(progress) {
  activity.hidden = progress === null;
  if (!progress) return;
  activityText.textContent = progress.total > 0
    ? `${progress.step}: ${progress.done.toLocaleString('en')} / ${progress.total.toLocaleString('en')}`
    : `${progress.step}…`;
  if (progress.total > 0) activityBar.value = progress.done / progress.total;
  else activityBar.removeAttribute('value');
}

// Encoding takes its time (it compresses): an address asked for earlier may come after a
// later one, and must not replace it with an older text.
let addressesAsked = 0;
async function writeAddress() {
  const asked = ++addressesAsked;
  const fragment = await encodeBench({ ...bench });
  if (asked !== addressesAsked) return;
  writtenFragment = fragment;
  history.replaceState(null, '', `#${fragment}`);
}

function open({ description, name }) {
  bench.name = name;
  examples.value = [...examples.options].some((o) => o.value === name) ? name : '';
  opening = true;
  if (editor.text() === description) draw();
  else editor.setText(description);  // drawn as any change is
  opening = false;
}

async function fetchText(file) {
  const response = await fetch(file);
  if (!response.ok) throw new Error(`${file}: ${response.status} ${response.statusText}`);
  return response.text();
}

async function openExample(file) {
  try {
    open({ description: await fetchText(file), name: file.split('/').pop() });
  } catch (error) {
    say(`The example could not be loaded (${error.message}).`);
  }
}

// The bench of the address, or the bundled one.
async function openAddress() {
  const fragment = location.hash.replace(/^#/, '');
  writtenFragment = fragment;
  try {
    const fromLink = await decodeBench(fragment);
    if (fromLink) {
      open(fromLink);
      say('');
      return;
    }
  } catch (error) {
    await openExample('default_optic.txt');
    say(`This link's bench could not be read: ${error.message}. Here is the bundled bench instead.`);
    return;
  }
  say('');
  await openExample('default_optic.txt');
}

async function fillExamples() {
  const files = JSON.parse(await fetchText('examples.json'));
  for (const file of files) {
    const option = document.createElement('option');
    option.value = file.split('/').pop();
    option.dataset.file = file;
    option.textContent = option.value;
    examples.append(option);
  }
  examples.addEventListener('change', async () => {
    const option = examples.selectedOptions[0];
    if (!option?.dataset.file) return;
    say('');
    await openExample(option.dataset.file);
    writeAddress();
  });
}

window.addEventListener('hashchange', () => {
  if (location.hash.replace(/^#/, '') !== writtenFragment) openAddress();
});

fillExamples()
  .catch((error) => say(`The list of examples could not be loaded (${error.message}).`))
  .then(openAddress);
