// Starts `tindel-author lsp` for quests and hands it the code page setting.
const vscode = require('vscode');
const { LanguageClient } = require('vscode-languageclient/node');

let client;

function activate(context) {
  const settings = vscode.workspace.getConfiguration('tindel');
  const command = settings.get('serverPath', 'tindel-author');
  client = new LanguageClient(
    'tindel',
    'Tindel quests',
    { command, args: ['lsp'] },
    {
      documentSelector: [{ language: 'tindel' }],
      initializationOptions: { codepage: settings.get('codepage', 'w') },
      synchronize: { configurationSection: 'tindel' },
    });
  context.subscriptions.push({ dispose: () => client && client.stop() });
  return client.start();
}

function deactivate() {
  return client ? client.stop() : undefined;
}

module.exports = { activate, deactivate };
