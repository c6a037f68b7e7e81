// The page's controls: the window's boxes and START/STOP, remembered settings, the
// finished picture with its download, share and code. The numbers and texts come from
// the core; the run itself is run.js.
import createCore from './pestrolik_core.js';
import { startRun } from './run.js';
import { workerPool } from './workers.js';
import { removeLeftOvers } from './frame_files.js';

const $ = (id) => document.getElementById(id);
const startButton = $('start');
const startCaption = startButton.textContent;  // the window's, spaces and all
const stopCaption = 'СТОП';
const mobileSize = '128';
const badCode = 'Это не код рисунка. Нужны десять целых чисел через запятую: закрутка 0-9, '
  + 'лепестки 0-9, шаг колец 0-9, поворот 0-9, красный 0-3, зелёный 0-3, синий 0-3, '
  + 'глубина фона 0-58, волны фона 0-2, исходный размер 10-1000.';
const workerFailed = 'Рисунок не получился: фоновый поток остановился с ошибкой.\nСохранение не произошло.';
const noCore = 'Не удалось загрузить Пестролик. Проверьте связь и обновите страницу.';

// Everything remembered between visits, under one prefix; values are text.
const remembered = { count: 'value', size: 'value', code: 'value', mobile: 'checked', still: 'checked', repeat: 'checked', small: 'checked' };
const store = {
  get: (key) => { try { return localStorage.getItem(`pestrolik.${key}`); } catch { return null; } },
  set: (key, value) => { try { localStorage.setItem(`pestrolik.${key}`, String(value)); } catch { /* private mode */ } },
};

// Larger files show their first picture alone: when the page lets go of an image it
// has loaded, the browser's main thread spends up to about 40 ms per MB of it at once.
const animationShownUpTo = 2 * 2 ** 20;

let core = null;
let run = null;
const workers = workerPool();
let resultUrls = [];
let savedSize = Number($('size').value);

function setText(id, text) {
  if ($(id).textContent !== text) $(id).textContent = text;
}

function say(text, kind = '') {
  $('message').textContent = text;
  $('message').className = kind;
}

function readSettings() {
  for (const [id, property] of Object.entries(remembered)) {
    const value = store.get(id);
    if (value !== null) $(id)[property] = property === 'checked' ? value === '1' : value;
  }
  $('repeat').disabled = store.get('previous') === null;
}

function saveSettings() {
  for (const [id, property] of Object.entries(remembered)) {
    store.set(id, property === 'checked' ? ($(id).checked ? '1' : '0') : $(id).value);
  }
}

// The mobile box keeps the size's number while it shows 128, and brings it back.
function onMobile() {
  if ($('mobile').checked) {
    const number = core ? core.numberAtStart($('size').value) : Number.NaN;
    if (!Number.isNaN(number)) savedSize = number;
    $('size').value = mobileSize;
  } else {
    $('size').value = String(savedSize);
  }
}

function showIdle() {
  run = null;
  startButton.textContent = startCaption;
  startButton.classList.remove('running');
  $('progress').textContent = '';
  $('frame').textContent = '';
  $('bar').value = 0;
}

function forgetResult() {
  for (const url of resultUrls) URL.revokeObjectURL(url);
  resultUrls = [];
  $('done').hidden = true;
  $('result').removeAttribute('src');
  $('download').removeAttribute('href');
}

function showResult({ blob, firstFrame }, code) {
  const number = Number(store.get('fileNumber') ?? '1');
  const name = `Kaleidrix_${number}.GIF`;
  store.set('fileNumber', number + 1);
  const whole = blob.size <= animationShownUpTo;
  resultUrls = [URL.createObjectURL(blob)];
  $('download').href = resultUrls[0];
  $('first-only').hidden = whole;
  if (whole) {
    $('result').src = resultUrls[0];
  } else {
    // Its own task: every object URL made is a round trip to the browser.
    setTimeout(() => {
      if (resultUrls.length !== 1) return;  // a new run has begun
      resultUrls.push(URL.createObjectURL(firstFrame));
      $('result').src = resultUrls[1];
    });
  }
  $('download').download = name;
  $('shown-code').textContent = code;
  const file = new File([blob], name, { type: 'image/gif' });
  $('share').hidden = !(navigator.canShare?.({ files: [file] }));
  $('share').onclick = () => navigator.share({ files: [file] }).catch(() => {});
  $('done').hidden = false;
  say(core.endMessage('done', name));
}

// The picture START makes: the typed code, the previous one, or a new one.
function chooseCode(pictureSize) {
  const typed = $('code').value.trim();
  if (typed) return core.normalCode(typed);
  const previous = store.get('previous');
  if ($('repeat').checked && previous !== null) return previous;
  return core.freshCode(pictureSize);
}

function onStart() {
  if (run) {
    run.stop();
    showIdle();
    say(core.endMessage('stopped', ''), 'error');
    return;
  }
  const inputs = core.readInputs($('count').value, $('size').value);
  if (inputs.problem) return say(inputs.problem, 'error');
  const code = chooseCode(inputs.pictureSize);
  if (!code) return say(badCode, 'error');
  store.set('previous', code);
  $('repeat').disabled = false;
  forgetResult();
  say('');
  startButton.textContent = stopCaption;
  startButton.classList.add('running');
  const file = { code, pictureSize: inputs.pictureSize, frameCount: inputs.frameCount, still: $('still').checked,
    small: $('small').checked };
  run = startRun(core, workers, file, {
    progress: ({ frameNo, percent, share }) => {
      // Only what changed: each change is a frame for the page to lay out and paint.
      setText('progress', `${percent} %  готово`);
      setText('frame', `Создаётся картинка  №  ${frameNo}`);
      $('bar').value = share;
    },
    end: (result) => {
      showIdle();
      if (result.outcome === 'done') showResult(result, code);
      else say(workerFailed, 'error');
    },
  });
}

function wire() {
  readSettings();
  for (const id of Object.keys(remembered)) $(id).addEventListener('change', saveSettings);
  $('mobile').addEventListener('change', () => { onMobile(); saveSettings(); });
  $('size').addEventListener('blur', () => {
    if ($('mobile').checked) $('size').value = mobileSize;
    saveSettings();
  });
  startButton.addEventListener('click', onStart);
  $('copy').addEventListener('click', () => navigator.clipboard?.writeText($('shown-code').textContent));
  if ('serviceWorker' in navigator) navigator.serviceWorker.register('sw.js').catch(() => {});
}

wire();
createCore().then((instance) => {
  core = instance;
  if ($('mobile').checked) savedSize = core.numberAtStart($('size').value);
  for (const [id, address] of [['web-link', core.webAddress()], ['mail-link', `mailto:${core.mailAddress()}`]]) {
    $(id).href = address;
    $(id).textContent = address.replace('mailto:', '');
  }
  startButton.disabled = false;
  workers.warm();
  removeLeftOvers();
}, () => say(noCore, 'error'));
